#pragma once
#include <cstddef>

#include "views/grid_selection.h"

namespace quillet {

// Where "Find next" and "Replace from the current position" start in the selected segment: the
// index in Data of the byte after the current cell's byte. The column is taken as it is, not
// folded, so a current character cell starts 16 bytes further on than its mirror byte cell;
// a current cell among the lead cells starts at the first byte.
std::size_t startIndexAfterCell(int lead, GridCell current);

// The byte a hit shows in the grid. Only an empty pattern hits one past the data; that hit stays
// on the segment's last byte (the first cell, for an empty segment), so every hit lies on a cell
// of the segment.
std::size_t shownHitIndex(std::size_t hitIndex, std::size_t dataSize);

}  // namespace quillet
