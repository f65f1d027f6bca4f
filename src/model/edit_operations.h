#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/document.h"

namespace quillet {

class CodePage;

// Removes segment `s` (a unicode block with its count byte and marker) and moves every later
// position down by the bytes it took. Lines keep their sequence numbers and tags; the ranges of
// the data segments' lines are rewritten.
void deleteSegment(Document& document, std::size_t s);

// Gives unicode block `s` the characters `units`: the block takes their length, and the
// positions behind it (later segments, index entries above the block) move by the change.
void applyUnicodeText(Document& document, std::size_t s, const std::vector<std::uint16_t>& units,
                      const CodePage& codePage);

// Resizes the run [t, t + n) of data segment `s` to `newLength` bytes: the bytes behind the run
// move, later segments and the index entries after `firstMovableEntry` that lie above the
// segment move with them, and the data segments' lines from `s` on get their new ranges.
void resizeRun(Document& document, std::size_t s, std::size_t t, std::size_t n, std::size_t newLength,
               std::size_t firstMovableEntry);

// The data segments' lines from `first` on, rebuilt with their old heads and current ranges.
void rebuildDataLines(Document& document, std::size_t first);

}  // namespace quillet
