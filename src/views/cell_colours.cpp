#include "model/codepage.h"
#include "views/grid_geometry.h"

namespace quillet {

namespace {
// Every cell with a background of its own has its text colour too: the theme's text on one of
// these greys would be unreadable in a dark theme. The light colours are the design's, but for
// the selected byte's blue, darkened to be read on its grey.
struct CellPalette {
    std::uint32_t byteBackground;
    std::uint32_t selectedByteBackground;  // also the current byte's
    std::uint32_t currentMirrorCharBackground;
    std::uint32_t selectedCharBackground;
    std::uint32_t text;
    std::uint32_t selectedText;
};
constexpr CellPalette LightCells{0xBBBBBB, 0xAAAAAA, 0xDDDDDD, 0xEEEEEE, 0x000000, 0x0000C0};
// Light text on dark greys; the current and selected cells stand out lighter, as they stand out
// darker in a light theme.
constexpr CellPalette DarkCells{0x3C3C3C, 0x505050, 0x505050, 0x404040, 0xE6E6E6, 0xB4C8FF};

const CellPalette& paletteOf(Theme theme)
{
    return theme == Theme::Dark ? DarkCells : LightCells;
}

CellColours byteCellColours(std::int64_t row, int j, const GridSelection& selection, GridCell current,
                            const CellPalette& cells)
{
    bool isCurrent = current == GridCell{row, j + GridByteColumns};
    CellColours colours{isCurrent ? cells.selectedByteBackground : cells.byteBackground, cells.text};
    if (isByteCellSelected(selection, row, j)) colours = {cells.selectedByteBackground, cells.selectedText};
    return colours;
}

CellColours charCellColours(std::int64_t row, int j, const GridSelection& selection, GridCell current,
                            const CellPalette& cells)
{
    CellColours colours;
    if (isByteCellSelected(selection, row, j)) colours = {cells.selectedCharBackground, cells.text};
    if (current == GridCell{row, j}) colours = {cells.currentMirrorCharBackground, cells.text};
    return colours;
}
}  // namespace

CellColours cellColours(std::int64_t row, int col, const GridSelection& selection, GridCell current, Theme theme)
{
    if (row < 1 || col < 1 || col >= GridColumnCount) return {};
    if (col <= GridByteColumns) return byteCellColours(row, col, selection, current, paletteOf(theme));
    return charCellColours(row, col - GridByteColumns, selection, current, paletteOf(theme));
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
