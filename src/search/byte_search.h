#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/bytes.h"
#include "model/resource.h"

namespace quillet {

// A place where a pattern was found: the segment and the index in its Data (from 0).
struct SearchHit {
    std::size_t segment = 0;
    std::size_t index = 0;
    bool operator==(const SearchHit&) const = default;
};

// The first occurrence of `pattern` lying wholly inside one segment's Data, searching segment
// `firstSegment` from index `startIndex`, then every later segment from its start. An empty
// pattern is found at the start position, which may be one past the data. Occurrences that
// would run across a segment boundary do not count.
std::optional<SearchHit> findInSegments(const std::vector<Segment>& segments, std::size_t firstSegment,
                                   std::size_t startIndex, const Bytes& pattern);

// Overwrites, segment by segment from the same start as findInSegments, every position whose bytes
// equal `pattern` with `replacement` (of the same length), testing each position in turn: the
// position after a replacement is tested against the bytes just written, so overlapping
// occurrences are each tested. Returns the number of replacements.
std::int64_t replaceInSegments(std::vector<Segment>& segments, std::size_t firstSegment, std::size_t startIndex,
                        const Bytes& pattern, const Bytes& replacement);

}  // namespace quillet
