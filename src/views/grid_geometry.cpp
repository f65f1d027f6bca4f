#include "views/grid_geometry.h"

#include <algorithm>

#include "model/hex.h"

namespace quillet {

int gridLead(const Document& document, const Segment& segment)
{
    return static_cast<int>(document.dataStart(segment) % GridByteColumns);
}

std::int64_t gridRowCount(const Document& document, const Segment* selected)
{
    if (selected == nullptr) return 2;
    return GridLayout::of(document, *selected).rowCount(document.noIndex);
}

GridLayout GridLayout::of(const Document& document, const Segment& segment)
{
    return GridLayout{gridLead(document, segment), segment.size()};
}

std::int64_t GridLayout::rowCount(bool raw) const
{
    std::int64_t m = raw ? 0 : lead - 1;
    return (m + size) / GridByteColumns + 2;
}

GridCell GridLayout::cellOf(std::int64_t index) const
{
    return cellOfByte(lead, index);
}

std::optional<std::int64_t> GridLayout::byteAt(std::int64_t row, int col) const
{
    return byteIndexAtCell(lead, size, row, col);
}

std::int64_t GridLayout::indexOfKey(std::int64_t key) const
{
    return key - cellKey(1, 1) - lead;
}

std::size_t GridLayout::startAfter(GridCell current) const
{
    // A character cell stands for its byte, as its mirror byte cell does.
    std::int64_t position = (current.row - 1) * GridByteColumns + foldColumn(current.col) + 1 - lead;  // from 1
    return static_cast<std::size_t>(std::max<std::int64_t>(1, position) - 1);
}

GridSelection GridLayout::wholeData() const
{
    GridCell first = cellOf(0);
    if (size == 0) return GridSelection{first.row, first.col, 1, 0};
    GridCell end = cellOf(size - 1);
    return GridSelection{first.row, first.col, end.row, end.col};
}

ByteRun GridLayout::runOf(const GridSelection& selection) const
{
    auto bytes = static_cast<std::size_t>(size);
    if (selection.startRow == selection.endRow && selection.startCol == selection.endCol)
        return ByteRun{0, std::min<std::size_t>(1, bytes)};
    // The walk begins at column 1 of the start row, whatever the start column.
    std::int64_t firstKey = std::max(cellKey(selection.startRow, selection.startCol), cellKey(selection.startRow, 1));
    std::int64_t first = std::max<std::int64_t>(0, indexOfKey(firstKey));
    std::int64_t last = std::min<std::int64_t>(size - 1, indexOfKey(cellKey(selection.endRow, selection.endCol)));
    if (first > last) return ByteRun{static_cast<std::size_t>(std::min<std::int64_t>(first, size)), 0};
    return ByteRun{static_cast<std::size_t>(first), static_cast<std::size_t>(last - first + 1)};
}

std::int64_t rowOffsetLabel(std::int64_t dataStart, std::int64_t row)
{
    return GridByteColumns * (dataStart / GridByteColumns) + GridByteColumns * (row - 1);
}

int rowOffsetDigits(std::int64_t dataStart, std::int64_t rowCount)
{
    auto largest = static_cast<std::uint64_t>(rowOffsetLabel(dataStart, std::max<std::int64_t>(rowCount - 1, 1)));
    int digits = GridOffsetDigits;
    while (digits < 16 && (largest >> (4 * digits)) != 0) ++digits;
    return digits;
}

std::optional<std::int64_t> byteIndexAtCell(int lead, std::int64_t size, std::int64_t row, int col)
{
    if (row < 1 || col < 1 || col >= GridColumnCount) return std::nullopt;
    int j = foldColumn(col);
    std::int64_t index = (row - 1) * GridByteColumns + (j - 1) - lead;
    if (index < 0 || index >= size) return std::nullopt;
    return index;
}

GridCell cellOfByte(int lead, std::int64_t index)
{
    std::int64_t number = index + lead;
    return GridCell{number / GridByteColumns + 1, static_cast<int>(number % GridByteColumns) + 1};
}

int foldColumn(int col)
{
    return col > GridByteColumns ? col - GridByteColumns : col;
}

std::int64_t cellKey(std::int64_t row, int foldedCol)
{
    return row * GridByteColumns + foldedCol;
}

bool isByteCellSelected(const GridSelection& selection, std::int64_t row, int j)
{
    std::int64_t key = cellKey(row, j);
    return key >= cellKey(selection.startRow, selection.startCol) && key <= cellKey(selection.endRow, selection.endCol);
}

GridSelection selectionAfterRelease(const GridSelection& pressed, std::int64_t row, int foldedCol)
{
    GridSelection selection = pressed;
    if (cellKey(selection.endRow, selection.endCol) < cellKey(row, foldedCol)) {
        selection.endRow = row;
        selection.endCol = foldedCol;
    } else {
        selection.startRow = row;
        selection.startCol = foldedCol;
    }
    return selection;
}

std::string copyHexText(const GridSelection& selection, int lead, const Segment& segment)
{
    std::string text;
    walkSelection(selection, lead, segment.size(),
                  [&](std::int64_t index) { appendHexByte(text, segment.data[static_cast<std::size_t>(index)]); });
    return text;
}

std::vector<int> defaultGridColumnWidths()
{
    std::vector<int> widths(GridColumnCount, GridCharColumnWidth);
    widths[0] = GridOffsetColumnWidth;
    std::fill(widths.begin() + 1, widths.begin() + 1 + GridByteColumns, GridByteColumnWidth);
    return widths;
}

GridCell cellAtPoint(int x, int y, const std::vector<int>& columnWidths, std::int64_t rowCount, std::int64_t topRow)
{
    // Every row has the same height, so the first row whose running total passes y is y div
    // the height; a pointer below the last row counts as the row count.
    std::int64_t v = y < 0 ? 0 : std::min<std::int64_t>(y / GridRowHeight, rowCount);
    int col = GridColumnCount - 1;
    int total = 0;
    for (int c = 0; c < GridColumnCount - 1 && c < static_cast<int>(columnWidths.size()); ++c) {
        total += columnWidths[static_cast<std::size_t>(c)];
        if (total > x) {
            col = c;
            break;
        }
    }
    return GridCell{topRow + v - 1, foldColumn(col)};
}

}  // namespace quillet
