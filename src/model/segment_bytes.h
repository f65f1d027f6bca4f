#pragma once
#include <algorithm>
#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>

#include "model/bytes.h"

namespace quillet {

class FileMapping;

// The bytes of one segment: either bytes of its own, or a range of a file mapped read-only with
// the pages written since held in the document's own memory. A page is copied from the mapping
// the first time it is written, and reads look at the copies first, so that another program
// rewriting or cutting short the file never takes what the person wrote; Replace costs memory per
// page it writes, not per hit. A change of length gives the segment bytes of its own. Copies of
// a mapped range share the mapping and copy only the pages written.
//
// A written page remembers which of its bytes were written: the others are taken from the file
// again once another program changed it (rereadUnwritten), as on the pages never written.
class SegmentBytes {
public:
    // The unit in which written bytes of a mapped range are kept.
    static constexpr std::size_t PageSize = 4096;

    SegmentBytes() = default;
    SegmentBytes(Bytes bytes);  // NOLINT(google-explicit-constructor): bytes of its own
    SegmentBytes(std::shared_ptr<const FileMapping> mapping, std::uint64_t start, std::uint64_t length);

    std::size_t size() const { return mapping_ ? size_ : owned_.size(); }
    bool empty() const { return size() == 0; }
    std::uint8_t operator[](std::size_t i) const;

    // The bytes from `index` (below size()) on that lie together in memory: to the end, or to
    // the edge of a written page of a mapped range.
    std::span<const std::uint8_t> runAt(std::size_t index) const;
    // Where a run of unchanged bytes of a mapped range lies in the file: what a save copies from
    // the file itself. Nothing for bytes of its own and for written pages.
    std::optional<std::uint64_t> filePositionAt(std::size_t index) const;
    const FileMapping* mapping() const { return mapping_.get(); }

    // The bytes [from, from + count) as a copy.
    Bytes copy(std::size_t from, std::size_t count) const;
    // Overwrites [from, from + bytes.size()). Throws std::bad_alloc, having written nothing, when
    // a page of a mapped range cannot be copied; a page written once is never copied again.
    void write(std::size_t from, std::span<const std::uint8_t> bytes);
    // Replaces [from, from + count) by `inserted`; the bytes behind move. Throws std::bad_alloc.
    void splice(std::size_t from, std::size_t count, const std::uint8_t* inserted, std::size_t insertedCount);
    bool isMapped() const { return mapping_ != nullptr; }
    // The memory the bytes hold of their own: all of them, or the written pages of a mapping.
    std::size_t ownBytes() const;
    std::size_t writtenPages() const { return written_.size(); }
    // Takes the bytes never written on the written pages from the mapped file as it is now.
    void rereadUnwritten();

    friend bool operator==(const SegmentBytes& a, const SegmentBytes& b);

private:
    struct Page {
        std::array<std::uint8_t, PageSize> bytes;
        std::bitset<PageSize> written;
    };
    const std::uint8_t* mapped() const;
    void appendTo(Bytes& bytes, std::size_t from, std::size_t count) const;
    Page& pageFor(std::size_t number);

    Bytes owned_;
    std::shared_ptr<const FileMapping> mapping_;
    std::uint64_t start_ = 0;
    std::size_t size_ = 0;
    // The written pages of a mapped range by page number (index / PageSize).
    std::map<std::size_t, Page> written_;
};

// The first occurrence of a pattern of `length` bytes lying wholly in [from, end) of `bytes`,
// found run by run with `find` (the first occurrence in data[from, size) of one piece of
// memory); an occurrence that crosses from one run into the next is found too. An empty pattern
// is found at `from`.
template <typename Find>
std::optional<std::size_t> findInRuns(const SegmentBytes& bytes, std::size_t from, std::size_t end, std::size_t length,
                                      Find&& find)
{
    if (from > end || end - from < length) return std::nullopt;
    if (length == 0) return from;
    for (std::size_t position = from;;) {
        std::span<const std::uint8_t> run = bytes.runAt(position);
        std::size_t runEnd = std::min(end, position + run.size());
        if (runEnd - position >= length) {
            if (auto hit = find(run.data(), runEnd - position, 0)) return position + *hit;
        }
        if (runEnd == end) return std::nullopt;
        // The occurrences that start in this run and end in a later one, from a copy of both sides.
        std::size_t seamFrom = runEnd - std::min(runEnd - position, length - 1);
        std::size_t seamEnd = std::min(end, runEnd + length - 1);
        if (seamEnd - seamFrom >= length) {
            Bytes seam = bytes.copy(seamFrom, seamEnd - seamFrom);
            auto hit = find(seam.data(), seam.size(), 0);
            if (hit && seamFrom + *hit < runEnd) return seamFrom + *hit;
        }
        position = runEnd;
    }
}

}  // namespace quillet
