#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/document.h"
#include "views/grid_selection.h"
#include "views/theme_colours.h"

namespace quillet {

class CodePage;

constexpr int GridByteColumns = 16;
constexpr int GridColumnCount = 33;  // offset column, 16 byte cells, 16 character cells
constexpr int GridRowHeight = 22;
constexpr int GridOffsetColumnWidth = 70;
constexpr int GridByteColumnWidth = 20;
constexpr int GridCharColumnWidth = 12;

// The bytes of a run of a segment's data: [start, start + length).
struct ByteRun {
    std::size_t start = 0;
    std::size_t length = 0;
};

// Where a segment's bytes sit in the grid: `lead` empty byte cells in row 1 before the first
// byte, then `size` bytes, sixteen a row. Byte k is in the cell numbered k + lead.
struct GridLayout {
    int lead = 0;
    std::int64_t size = 0;

    static GridLayout of(const Document& document, const Segment& segment);
    // Rows of the grid, header row included: the rows the lead cells and the bytes take, at
    // least one; a raw file whose size is a multiple of 16 keeps one empty row at the end.
    std::int64_t rowCount(bool raw) const;
    GridCell cellOf(std::int64_t index) const;
    // The byte a byte or character cell shows, if any.
    std::optional<std::int64_t> byteAt(std::int64_t row, int col) const;
    // The index the byte under a key would have, whether or not it exists.
    std::int64_t indexOfKey(std::int64_t key) const;
    // Where "Find next" starts: the byte after the current cell's byte, for a byte cell and a
    // character cell alike; a current cell among the lead cells starts at the first byte.
    std::size_t startAfter(GridCell current) const;
    // The selection that covers every byte (none for no bytes).
    GridSelection wholeData() const;
    // The bytes a selection covers, clipped to the data: a selection reaching lead cells, column
    // 0 or cells past the end never reads or writes outside. A one-cell selection counts as
    // none and stands for the first byte.
    ByteRun runOf(const GridSelection& selection) const;
};

// Empty byte cells in row 1 before the segment's first byte: its data start mod 16.
int gridLead(const Document& document, const Segment& segment);
// Rows of the grid for the selected segment (header row included); 2 when none is selected.
std::int64_t gridRowCount(const Document& document, const Segment* selected);
// The position that the offset column shows for a data row.
std::int64_t rowOffsetLabel(std::int64_t dataStart, std::int64_t row);
// The hex digits of the offset column: 8, and more where a label passes 4 GiB.
constexpr int GridOffsetDigits = 8;
int rowOffsetDigits(std::int64_t dataStart, std::int64_t rowCount);

// Index in Data of the byte that cell (row, col) shows, for byte cells (1-16) and character
// cells (17-32); nothing for the header row, the offset column and cells without a byte.
std::optional<std::int64_t> byteIndexAtCell(int lead, std::int64_t size, std::int64_t row, int col);
// The byte cell that shows byte `index`.
GridCell cellOfByte(int lead, std::int64_t index);

// The selection after a release of the left button on (row, foldedCol): the end cell moves
// there when its key is smaller than the new key, otherwise the start cell does.
GridSelection selectionAfterRelease(const GridSelection& pressed, std::int64_t row, int foldedCol);

// A character column j + 16 folds to j; columns 0 to 16 stay.
int foldColumn(int col);
std::int64_t cellKey(std::int64_t row, int foldedCol);
// Byte cell (row, j), j 1-16, lies in the selection.
bool isByteCellSelected(const GridSelection& selection, std::int64_t row, int j);

// The selection walk: byte cells of rows StartRow..endRow whose key lies in the selection, in
// order, each yielding the index of the byte it shows (cells without a byte yield nothing).
template <class Visit>
void walkSelection(const GridSelection& selection, int lead, std::int64_t size, Visit&& visit)
{
    std::int64_t firstKey = cellKey(selection.startRow, selection.startCol);
    std::int64_t lastKey = cellKey(selection.endRow, selection.endCol);
    for (std::int64_t row = selection.startRow; row <= selection.endRow; ++row) {
        for (int j = 1; j <= GridByteColumns; ++j) {
            std::int64_t key = cellKey(row, j);
            if (key < firstKey || key > lastKey) continue;
            std::int64_t index = (row - 1) * GridByteColumns + (j - 1) - lead;
            if (index >= 0 && index < size) visit(index);
        }
    }
}

// "Copy HEX": the selected bytes as 2-digit upper-case hex pairs, nothing between them.
std::string copyHexText(const GridSelection& selection, int lead, const Segment& segment);

// The design widths of the 33 columns: 70, 16 x 20, 16 x 12 pixels.
std::vector<int> defaultGridColumnWidths();

// Colours of a byte or character cell that shows a byte, as 0xRRGGBB, in a light or a dark
// theme. A cell with a background of its own has its text colour too.
struct CellColours {
    std::optional<std::uint32_t> background;  // nothing: the grid's plain background
    std::optional<std::uint32_t> text;        // nothing: the grid's default text colour
};
CellColours cellColours(std::int64_t row, int col, const GridSelection& selection, GridCell current, Theme theme);
// A character cell's text: "." for a control byte (0x00-0x1F, 0x7F) and for a byte that the
// code page leaves undefined, else the byte's character in the code page.
std::string characterCellText(std::uint8_t byte, const CodePage& codePage);

// The cell under a pointer (pixels from the grid's top-left corner): the row from the row
// height and the first scrollable row in view, the column from the current column widths, the
// column folded. A pointer on the header row gives topRow - 1.
GridCell cellAtPoint(int x, int y, const std::vector<int>& columnWidths, std::int64_t rowCount, std::int64_t topRow);

}  // namespace quillet
