#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/bytes.h"
#include "model/document.h"
#include "model/progress.h"
#include "model/replace_everywhere.h"
#include "model/segment.h"

namespace quillet {

// A place where a pattern was found: the segment and the index in its data (from 0).
struct SearchHit {
    std::size_t segment = 0;
    std::size_t index = 0;
    bool operator==(const SearchHit&) const = default;
};

// The first occurrence of `pattern` lying wholly inside one segment's data, searching segment
// `firstSegment` from index `startIndex`, then every later segment from its start. An empty
// pattern is found at the start position, which may be one past the data. Occurrences that
// would run across a segment boundary do not count. The data is searched piece by piece as it
// lies in memory (see findInRuns).
std::optional<SearchHit> findInSegments(const std::vector<Segment>& segments, std::size_t firstSegment,
                                        std::size_t startIndex, const Bytes& pattern);

// Replace from the same start as findInSegments, with this search (replaceEverywhere says what
// it does).
[[nodiscard]] ReplaceOutcome replaceInDocument(Document& document, ReplaceScope scope, const Bytes& pattern,
                                               const Bytes& replacement, Progress& progress,
                                               ReplaceRecord record = ReplaceRecord::Places);

// The byte a hit shows in the grid. Only an empty pattern hits one past the data; that hit stays
// on the segment's last byte (the first cell, for an empty segment), so every hit lies on a cell
// of the segment.
std::size_t shownHitIndex(std::size_t hitIndex, std::size_t dataSize);

}  // namespace quillet
