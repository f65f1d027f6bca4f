#include "app/editor.h"

#include <algorithm>

#include "model/hex.h"
#include "views/grid_geometry.h"

namespace quillet {

namespace {
bool isByteColumn(int col)
{
    return col >= 1 && col <= GridByteColumns;
}
}  // namespace

std::optional<ShownSegment> Editor::shownSegment() const
{
    const Document* document = shownDocument();
    const Segment* segment = currentSegment();
    if (!document || !segment) return std::nullopt;
    return ShownSegment{segment, document->dataStart(*segment), GridLayout::of(*document, *segment)};
}

bool Editor::canEditColumn(int col) const
{
    return isByteColumn(col);
}

void Editor::gridTypeCharacter(const std::string& character)
{
    if (state_.gridEditor.open) {
        gridEditorTextChanged(state_.gridEditor.text + character);
        return;
    }
    if (!canEditColumn(state_.current.col) || !settleTyping()) return;
    state_.gridEditor = GridEditorState{true, state_.current, ""};
    gridEditorTextChanged(character);
}

void Editor::gridEditKey()
{
    if (state_.gridEditor.open || !canEditColumn(state_.current.col) || !settleTyping()) return;
    state_.gridEditor = GridEditorState{true, state_.current, ""};
}

void Editor::gridEditorTextChanged(const std::string& text)
{
    if (!state_.gridEditor.open || text == state_.gridEditor.text) return;
    state_.gridEditor.text = text;
    advanceAfterTwoDigits(text);
}

void Editor::gridEditorEscape()
{
    state_.gridEditor = GridEditorState{};
}

// A move of the person's ends force mode: a text typed for the run is settled first, and Cancel
// keeps the current cell where it is.
void Editor::gridMoveCurrent(GridCell cell)
{
    if (state_.forceMode && !settleTyping()) return;
    cell.row = std::clamp<std::int64_t>(cell.row, 1, std::max<std::int64_t>(1, state_.rowCount - 1));
    cell.col = std::clamp(cell.col, 1, GridColumnCount - 1);
    setCurrentCell(cell);
}

void Editor::setCurrentCell(GridCell cell)
{
    if (cell == state_.current) return;
    commitTypedByte();
    state_.current = cell;
    gridClicked();
}

void Editor::gridFocusLost()
{
    commitTypedByte();
}

// Any button hands the in-place text over; only the left one starts a selection.
void Editor::gridMousePress(MouseButton button, GridCell cellUnderPointer)
{
    commitTypedByte();
    if (button != MouseButton::Left) return;
    if (state_.forceMode && !settleTyping()) return;
    bool onCell = cellUnderPointer.row >= 1 && cellUnderPointer.row < state_.rowCount && cellUnderPointer.col >= 1;
    if (onCell) gridClicked();
    int col = foldColumn(cellUnderPointer.col);
    state_.selection.startRow = state_.selection.endRow = cellUnderPointer.row;
    state_.selection.startCol = state_.selection.endCol = col;
}

void Editor::gridMouseRelease(MouseButton button, GridCell cellUnderPointer, bool gridHasFocus)
{
    if (button != MouseButton::Left || !gridHasFocus || state_.gridEditor.open) return;
    if (state_.forceMode && lineHoldsTyping()) return;  // the press was cancelled: the run stays
    state_.selection = selectionAfterRelease(state_.selection, cellUnderPointer.row, foldColumn(cellUnderPointer.col));
}

// Two typed characters make a byte: the next cell becomes current, which hands them over.
void Editor::advanceAfterTwoDigits(const std::string& text)
{
    if (text.size() != 2) return;
    GridCell current = state_.current;
    if (current.col >= 1 && current.col < GridByteColumns) {
        setCurrentCell({current.row, current.col + 1});
    } else if (current.col == GridByteColumns) {
        setCurrentCell({current.row, 1});
        setCurrentCell({std::min(state_.rowCount - 1, current.row + 1), 1});
    }
}

void Editor::storeTypedByte(const std::string& text, GridCell cell)
{
    const Segment* segment = currentSegment();
    if (!segment || !isByteColumn(cell.col)) return;
    std::optional<std::int64_t> index = GridLayout::of(document_, *segment).byteAt(cell.row, cell.col);
    if (!index) return;
    auto value = static_cast<std::uint8_t>(hexValueOfText(text) & 0xFF);
    std::size_t s = *state_.selectedSegment;
    editDocument([&] { return writeByte(document_, s, static_cast<std::size_t>(*index), value); });
}

void Editor::gridClicked()
{
    if (!state_.forceMode) return;
    state_.forceMode = false;
    state_.textStripVisible = false;
}

void Editor::copyHex()
{
    commitTypedByte();
    const Segment* segment = currentSegment();
    std::string text = segment ? copyHexText(state_.selection, gridLead(document_, *segment), *segment) : std::string();
    prompts_.setClipboardText(text);
}

}  // namespace quillet
