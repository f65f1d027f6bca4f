#include "search/byte_search.h"

#include <cassert>
#include <cstring>

namespace quillet {

namespace {
// The first occurrence of the pattern in data[from, size), or nothing.
std::optional<std::size_t> findIn(const std::uint8_t* data, std::size_t size, std::size_t from,
                                  const Bytes& pattern)
{
    if (from > size || size - from < pattern.size()) return std::nullopt;
    if (pattern.empty()) return from;
    const void* found = ::memmem(data + from, size - from, pattern.data(), pattern.size());
    if (found == nullptr) return std::nullopt;
    return static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - data);
}

// Every position of an empty pattern matches, and writing nothing changes nothing.
std::int64_t emptyPatternCount(std::size_t size, std::size_t from)
{
    return from <= size ? static_cast<std::int64_t>(size - from + 1) : 0;
}

// A forward pass over one segment's Data. Each search starts after the previous write, on the
// bytes as they now are, and no position between two hits matches those bytes; the plain
// position-by-position scan, which writes only at hits, sees exactly the same bytes at every
// position and so finds the same hits.
std::int64_t replaceIn(Bytes& data, std::size_t from, const Bytes& pattern, const Bytes& replacement)
{
    if (pattern.empty()) return emptyPatternCount(data.size(), from);
    std::int64_t count = 0;
    std::size_t position = from;
    while (auto hit = findIn(data.data(), data.size(), position, pattern)) {
        std::memcpy(data.data() + *hit, replacement.data(), pattern.size());
        ++count;
        position = *hit + 1;
    }
    return count;
}
}  // namespace

std::optional<SearchHit> findInSegments(const std::vector<Segment>& segments, std::size_t firstSegment,
                                   std::size_t startIndex, const Bytes& pattern)
{
    for (std::size_t j = firstSegment; j < segments.size(); ++j) {
        const Bytes& data = segments[j].data;
        std::size_t from = j == firstSegment ? startIndex : 0;
        if (auto index = findIn(data.data(), data.size(), from, pattern)) return SearchHit{j, *index};
    }
    return std::nullopt;
}

std::int64_t replaceInSegments(std::vector<Segment>& segments, std::size_t firstSegment, std::size_t startIndex,
                        const Bytes& pattern, const Bytes& replacement)
{
    assert(pattern.size() == replacement.size());
    if (pattern.size() != replacement.size()) return 0;  // a length change would corrupt the offsets
    std::int64_t count = 0;
    for (std::size_t j = firstSegment; j < segments.size(); ++j)
        count += replaceIn(segments[j].data, j == firstSegment ? startIndex : 0, pattern, replacement);
    return count;
}

}  // namespace quillet
