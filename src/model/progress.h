#pragma once
#include <cstdint>
#include <stdexcept>

namespace quillet {

// How long work (loading, saving, replacing on large files) tells how far it is and learns
// that the person cancelled it.
class Progress {
public:
    virtual ~Progress() = default;
    // `done` of `total` units of work are done. False: the person cancelled; the work stops.
    virtual bool report(std::uint64_t done, std::uint64_t total) = 0;
};

// Work that does not report anywhere.
class NoProgress final : public Progress {
public:
    bool report(std::uint64_t, std::uint64_t) override { return true; }
};

// One of `count` equal stages of a longer work, reported to the whole work's progress: stage
// `index` (from 0) covers its share of the way, so one bar runs once through all the stages.
class StageProgress final : public Progress {
public:
    StageProgress(Progress& whole, std::uint64_t index, std::uint64_t count)
        : whole_(whole), index_(index), count_(count)
    {}
    bool report(std::uint64_t done, std::uint64_t total) override
    {
        if (total == 0) return whole_.report(index_ + 1, count_);
        return whole_.report(index_ * total + done, count_ * total);
    }

private:
    Progress& whole_;
    std::uint64_t index_;
    std::uint64_t count_;
};

// Thrown by work that stopped because the person cancelled it; it has left things as they were.
class WorkCancelled : public std::runtime_error {
public:
    WorkCancelled() : std::runtime_error("cancelled") {}
};

// How often long work reports: every this many bytes.
constexpr std::uint64_t ProgressStep = std::uint64_t{16} << 20;

}  // namespace quillet
