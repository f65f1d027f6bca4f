#pragma once
#include <cstdint>
#include <string>

namespace quillet {

// A cell of the hex grid: row 0 is the header row, column 0 the offset column, 1-16 the byte
// cells and 17-32 the character cells.
struct GridCell {
    std::int64_t row = 1;
    int col = 1;
    bool operator==(const GridCell&) const = default;
};

// The run of cells marked with the mouse, in folded columns (a character column j + 16 is
// stored as j). All zero when reset, which selects nothing.
struct GridSelection {
    std::int64_t startRow = 0;
    int startCol = 0;
    std::int64_t endRow = 0;
    int endCol = 0;
    bool operator==(const GridSelection&) const = default;
};

// The hex grid's in-place editor: open over one byte cell, holding what was typed there.
struct GridEditorState {
    bool open = false;
    GridCell cell;
    std::string text;  // UTF-8
};

enum class MouseButton { Left, Right, Middle };

}  // namespace quillet
