#include "search/byte_search.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "search/literal_search.h"

namespace quillet {

namespace {
// Every position of an empty pattern matches, and writing nothing changes nothing.
std::int64_t emptyPatternCount(std::size_t size, std::size_t from)
{
    return from <= size ? static_cast<std::int64_t>(size - from + 1) : 0;
}

// A forward pass over one segment's data. Each search starts after the previous write, on the
// bytes as they now are, and no position between two hits matches those bytes; the plain
// position-by-position scan, which writes only at hits, sees exactly the same bytes at every
// position and so finds the same hits.
class ReplacePass {
public:
    ReplacePass(const Bytes& pattern, const Bytes& replacement, Progress& progress, std::uint64_t total)
        : pattern_(pattern), search_(pattern), replacement_(replacement), progress_(progress), total_(total)
    {
        writes_.pattern = pattern;
        writes_.replacement = replacement;
    }

    // Searches a piece at a time, so that progress is told and a cancel is heard also when
    // the hits lie close together.
    void run(std::size_t s, SegmentBytes& data, std::size_t from)
    {
        std::size_t position = from;
        std::size_t pieceEnd = position;
        while (position < data.size()) {
            if (position >= pieceEnd) {
                if (pieceEnd > from && !progress_.report(passed_ + (pieceEnd - from), total_)) throw WorkCancelled();
                pieceEnd = std::min(data.size(), position + static_cast<std::size_t>(ProgressStep));
            }
            std::size_t searchEnd = std::min(data.size(), pieceEnd + pattern_.size() - 1);
            auto hit = search_.find(data.data(), searchEnd, position);
            if (!hit || *hit >= pieceEnd) {
                position = pieceEnd;
                continue;
            }
            writes_.places.push_back({s, *hit});
            std::memcpy(data.data() + *hit, replacement_.data(), replacement_.size());
            position = *hit + 1;
        }
        passed_ += data.size() - std::min(from, data.size());
    }

    ReplaceWrites& writes() { return writes_; }

private:
    const Bytes& pattern_;
    LiteralSearch search_;
    const Bytes& replacement_;
    Progress& progress_;
    std::uint64_t total_;
    std::uint64_t passed_ = 0;
    ReplaceWrites writes_;
};
}  // namespace

std::optional<SearchHit> findInSegments(const std::vector<Segment>& segments, std::size_t firstSegment,
                                        std::size_t startIndex, const Bytes& pattern)
{
    LiteralSearch search(pattern);
    for (std::size_t j = firstSegment; j < segments.size(); ++j) {
        const SegmentBytes& data = segments[j].data;
        std::size_t from = j == firstSegment ? startIndex : 0;
        if (auto index = search.find(data.data(), data.size(), from)) return SearchHit{j, *index};
    }
    return std::nullopt;
}

ReplaceWrites replaceInSegments(std::vector<Segment>& segments, std::size_t firstSegment, std::size_t startIndex,
                                const Bytes& pattern, const Bytes& replacement, Progress& progress)
{
    assert(pattern.size() == replacement.size());
    ReplaceWrites none;
    none.pattern = pattern;
    none.replacement = replacement;
    // A length change would corrupt the offsets; an empty pattern writes nothing.
    if (pattern.size() != replacement.size() || pattern.empty()) return none;
    std::uint64_t total = 0;
    for (std::size_t j = firstSegment; j < segments.size(); ++j) total += segments[j].data.size();
    ReplacePass pass(pattern, replacement, progress, total);
    try {
        for (std::size_t j = firstSegment; j < segments.size(); ++j)
            pass.run(j, segments[j].data, j == firstSegment ? startIndex : 0);
    } catch (...) {
        const ReplaceWrites& done = pass.writes();
        for (auto place = done.places.rbegin(); place != done.places.rend(); ++place)
            std::memcpy(segments[place->segment].data.data() + place->index, pattern.data(), pattern.size());
        throw;
    }
    return std::move(pass.writes());
}

std::int64_t replacementCount(const ReplaceWrites& writes, const std::vector<Segment>& segments,
                              std::size_t firstSegment, std::size_t startIndex)
{
    if (!writes.pattern.empty()) return static_cast<std::int64_t>(writes.places.size());
    std::int64_t count = 0;
    for (std::size_t j = firstSegment; j < segments.size(); ++j)
        count += emptyPatternCount(segments[j].data.size(), j == firstSegment ? startIndex : 0);
    return count;
}

std::size_t shownHitIndex(std::size_t hitIndex, std::size_t dataSize)
{
    if (dataSize == 0) return 0;
    return std::min(hitIndex, dataSize - 1);
}

}  // namespace quillet
