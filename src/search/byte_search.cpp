#include "search/byte_search.h"

#include <algorithm>
#include <cstring>

namespace quillet {

namespace {
// The first occurrence of the pattern in data[from, size), or nothing.
std::optional<std::size_t> findIn(const std::uint8_t* data, std::size_t size, std::size_t from, const Bytes& pattern)
{
    if (from > size || size - from < pattern.size()) return std::nullopt;
    if (pattern.empty()) return from;
    const void* found = ::memmem(data + from, size - from, pattern.data(), pattern.size());
    if (found == nullptr) return std::nullopt;
    return static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - data);
}
}  // namespace

std::optional<SearchHit> findInSegments(const std::vector<Segment>& segments, std::size_t firstSegment,
                                        std::size_t startIndex, const Bytes& pattern)
{
    for (std::size_t j = firstSegment; j < segments.size(); ++j) {
        const SegmentBytes& data = segments[j].data;
        std::size_t from = j == firstSegment ? startIndex : 0;
        auto index = findInRuns(data, from, data.size(), pattern.size(),
                                [&](const std::uint8_t* run, std::size_t size, std::size_t start) {
                                    return findIn(run, size, start, pattern);
                                });
        if (index) return SearchHit{j, *index};
    }
    return std::nullopt;
}

ReplaceOutcome replaceInDocument(Document& document, ReplaceScope scope, const Bytes& pattern, const Bytes& replacement,
                                 Progress& progress, ReplaceRecord record)
{
    PatternFinder find = [&pattern](const std::uint8_t* data, std::size_t size, std::size_t from) {
        return findIn(data, size, from, pattern);
    };
    return replaceEverywhere(document, scope, pattern, replacement, find, progress, record);
}

std::size_t shownHitIndex(std::size_t hitIndex, std::size_t dataSize)
{
    if (dataSize == 0) return 0;
    return std::min(hitIndex, dataSize - 1);
}

}  // namespace quillet
