#include "model/codepage.h"
#include "views/grid_geometry.h"

namespace quillet {

namespace {
constexpr std::uint32_t SelectedByteBackground = 0xAAAAAA;
constexpr std::uint32_t ByteBackground = 0xBBBBBB;
constexpr std::uint32_t CurrentMirrorCharBackground = 0xDDDDDD;
constexpr std::uint32_t SelectedCharBackground = 0xEEEEEE;
constexpr std::uint32_t SelectedText = 0x0000FF;

CellColours byteCellColours(std::int64_t row, int j, const GridSelection& selection, GridCell current)
{
    CellColours colours;
    colours.background = current == GridCell{row, j + GridByteColumns} ? SelectedByteBackground : ByteBackground;
    if (isByteCellSelected(selection, row, j)) {
        colours.background = SelectedByteBackground;
        colours.text = SelectedText;
    }
    return colours;
}

CellColours charCellColours(std::int64_t row, int j, const GridSelection& selection, GridCell current)
{
    CellColours colours;
    if (isByteCellSelected(selection, row, j)) colours.background = SelectedCharBackground;
    if (current == GridCell{row, j}) colours.background = CurrentMirrorCharBackground;
    return colours;
}
}  // namespace

CellColours cellColours(std::int64_t row, int col, const GridSelection& selection, GridCell current)
{
    if (row < 1 || col < 1 || col >= GridColumnCount) return {};
    if (col <= GridByteColumns) return byteCellColours(row, col, selection, current);
    return charCellColours(row, col - GridByteColumns, selection, current);
}

// The byte is already a character of the code page; the window converts it for display.
// Control bytes and bytes the page leaves undefined have no glyph worth showing: a dot stands
// in for them, as in other hex editors.
std::string characterCellText(std::uint8_t byte, const CodePage& codePage)
{
    if (byte < 0x20 || byte == 0x7F || codePage.isUnassigned(byte)) return ".";
    return std::string(1, static_cast<char>(byte));
}

}  // namespace quillet
