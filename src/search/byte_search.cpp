#include "search/byte_search.h"

#include <algorithm>

#include "search/literal_search.h"

namespace quillet {

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

ReplaceOutcome replaceInDocument(Document& document, ReplaceScope scope, const Bytes& pattern,
                                 const Bytes& replacement, Progress& progress)
{
    LiteralSearch search(pattern);
    PatternFinder find = [&search](const std::uint8_t* data, std::size_t size, std::size_t from) {
        return search.find(data, size, from);
    };
    return replaceEverywhere(document, scope, pattern, replacement, find, progress);
}

std::size_t shownHitIndex(std::size_t hitIndex, std::size_t dataSize)
{
    if (dataSize == 0) return 0;
    return std::min(hitIndex, dataSize - 1);
}

}  // namespace quillet
