#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "model/document.h"
#include "model/edit_steps.h"
#include "model/progress.h"

namespace quillet {

// Where Replace starts: segment `firstSegment` from index `startIndex` of its data, then every
// later segment from its start.
struct ReplaceScope {
    std::size_t firstSegment = 0;
    std::size_t startIndex = 0;
};

// The first occurrence of the pattern in data[from, size) of one piece of memory, as the search
// finds it.
using PatternFinder =
    std::function<std::optional<std::size_t>(const std::uint8_t* data, std::size_t size, std::size_t from)>;

// Whether Replace keeps the places it wrote, so that its change can be undone and a cancel
// takes its writes back; or keeps nothing, so that its memory does not grow with the number
// of hits, for work that is saved or thrown away whole and is never cancelled.
enum class ReplaceRecord : std::uint8_t { Places, Nothing };

// What Replace did: its change for the history and the number of replacements it stands for.
struct ReplaceOutcome {
    Change change;
    std::int64_t count = 0;
};

// The edit "replace": overwrites, segment by segment, every position whose bytes equal `pattern`
// with `replacement` (of the same length), testing each position in turn: the position after a
// replacement is tested against the bytes just written, so overlapping occurrences are each
// tested. An empty pattern matches at every position and writes nothing. Reports progress by
// bytes passed; when cancelled, takes its writes back and throws WorkCancelled. Without a record
// of the places, the change it returns is empty.
[[nodiscard]] ReplaceOutcome replaceEverywhere(Document& document, ReplaceScope scope, const Bytes& pattern,
                                               const Bytes& replacement, const PatternFinder& find, Progress& progress,
                                               ReplaceRecord record = ReplaceRecord::Places);

}  // namespace quillet
