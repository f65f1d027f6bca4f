#include "model/replace_everywhere.h"

#include <algorithm>
#include <functional>

#include "model/change_builder.h"

namespace quillet {

namespace {

// A forward pass over the segments' data. Each search starts after the previous write, on the
// bytes as they now are, and no position between two hits matches those bytes; the plain
// position-by-position scan, which writes only at hits, sees exactly the same bytes at every
// position and so finds the same hits.
class ReplacePass {
public:
    using Write = std::function<void(const BytePlace&)>;

    ReplacePass(const Bytes& pattern, const PatternFinder& find, Progress& progress, std::uint64_t total, Write write)
        : pattern_(pattern), find_(find), progress_(progress), total_(total), write_(std::move(write))
    {}

    // Searches a piece at a time, so that progress is told and a cancel is heard also when the
    // hits lie close together.
    void run(std::size_t s, const SegmentBytes& data, std::size_t from)
    {
        std::size_t position = from;
        std::size_t pieceEnd = position;
        while (position < data.size()) {
            if (position >= pieceEnd) {
                if (pieceEnd > from && !progress_.report(passed_ + (pieceEnd - from), total_)) throw WorkCancelled();
                pieceEnd = std::min(data.size(), position + static_cast<std::size_t>(ProgressStep));
            }
            std::size_t searchEnd = std::min(data.size(), pieceEnd + pattern_.size() - 1);
            auto hit = findInRuns(data, position, searchEnd, pattern_.size(), find_);
            if (!hit || *hit >= pieceEnd) {
                position = pieceEnd;
                continue;
            }
            write_({s, *hit});
            ++count_;
            position = *hit + 1;
        }
        passed_ += data.size() - std::min(from, data.size());
    }

    std::int64_t count() const { return count_; }

private:
    const Bytes& pattern_;
    const PatternFinder& find_;
    Progress& progress_;
    std::uint64_t total_;
    Write write_;
    std::uint64_t passed_ = 0;
    std::int64_t count_ = 0;
};

// Every position of an empty pattern matches, and writing nothing changes nothing.
std::int64_t emptyPatternCount(const Document& document, ReplaceScope scope)
{
    std::int64_t count = 0;
    for (std::size_t j = scope.firstSegment; j < document.segments.size(); ++j) {
        std::size_t size = document.segments[j].data.size();
        std::size_t from = j == scope.firstSegment ? scope.startIndex : 0;
        if (from <= size) count += static_cast<std::int64_t>(size - from + 1);
    }
    return count;
}

}  // namespace

ReplaceOutcome replaceEverywhere(Document& document, ReplaceScope scope, const Bytes& pattern, const Bytes& replacement,
                                 const PatternFinder& find, Progress& progress, ReplaceRecord record)
{
    if (pattern.empty()) return {Change{}, emptyPatternCount(document, scope)};
    // A change of length would corrupt the offsets.
    if (pattern.size() != replacement.size()) return {};
    std::uint64_t total = 0;
    for (std::size_t j = scope.firstSegment; j < document.segments.size(); ++j)
        total += document.segments[j].data.size();
    auto runOver = [&](ReplacePass& pass) {
        for (std::size_t j = scope.firstSegment; j < document.segments.size(); ++j)
            pass.run(j, document.segments[j].data, j == scope.firstSegment ? scope.startIndex : 0);
        return pass.count();
    };
    if (record == ReplaceRecord::Nothing) {
        const ReplaceWrites writes{pattern, replacement, {}};
        ReplacePass pass(pattern, find, progress, total,
                         [&](const BytePlace& place) { writeReplacementAt(document, writes, place); });
        return {Change{}, runOver(pass)};
    }
    std::int64_t count = 0;
    Change change = buildChange(document, [&](ChangeBuilder& builder) {
        builder.add(ReplaceWrites{pattern, replacement, {}});
        ReplacePass pass(pattern, find, progress, total,
                         [&](const BytePlace& place) { builder.addReplaceWrite(place); });
        count = runOver(pass);
    });
    // Nothing written, nothing to undo.
    if (count == 0) change.steps.clear();
    return {std::move(change), count};
}

}  // namespace quillet
