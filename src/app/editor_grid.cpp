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

bool Editor::RxDrawGrid1ShowEditor(int col) const
{
    return isByteColumn(col);
}

void Editor::gridTypeCharacter(const std::string& character)
{
    if (state_.GridEditor.Open) {
        gridEditorTextChanged(state_.GridEditor.Text + character);
        return;
    }
    if (!RxDrawGrid1ShowEditor(state_.Current.Col)) return;
    state_.GridEditor = InPlaceEditor{true, state_.Current, ""};
    gridEditorTextChanged(character);
}

void Editor::gridEditKey()
{
    if (state_.GridEditor.Open || !RxDrawGrid1ShowEditor(state_.Current.Col)) return;
    state_.GridEditor = InPlaceEditor{true, state_.Current, ""};
}

void Editor::gridEditorTextChanged(const std::string& text)
{
    if (!state_.GridEditor.Open || text == state_.GridEditor.Text) return;
    state_.GridEditor.Text = text;
    RxDrawGrid1EditChange(text);
}

void Editor::gridEditorEscape()
{
    state_.GridEditor = InPlaceEditor{};
}

void Editor::gridMoveCurrent(GridCell cell)
{
    cell.Row = std::clamp<std::int64_t>(cell.Row, 1, std::max<std::int64_t>(1, state_.RowCount - 1));
    cell.Col = std::clamp(cell.Col, 1, GridColumnCount - 1);
    setCurrentCell(cell);
}

void Editor::setCurrentCell(GridCell cell)
{
    if (cell == state_.Current) return;
    handOverGridEditor();
    state_.Current = cell;
    RxDrawGrid1Click();
}

void Editor::handOverGridEditor()
{
    if (!state_.GridEditor.Open) return;
    InPlaceEditor closing = state_.GridEditor;
    state_.GridEditor = InPlaceEditor{};
    RxDrawGrid1SetEditText(closing.Text, closing.Cell);
}

void Editor::gridFocusLost()
{
    handOverGridEditor();
}

// Any button hands the in-place text over; only the left one starts a selection.
void Editor::gridMousePress(MouseButton button, GridCell cellUnderPointer)
{
    handOverGridEditor();
    if (button != MouseButton::Left) return;
    bool onCell = cellUnderPointer.Row >= 1 && cellUnderPointer.Row < state_.RowCount && cellUnderPointer.Col >= 1;
    if (onCell) RxDrawGrid1Click();
    int col = foldColumn(cellUnderPointer.Col);
    state_.Selection.StartRow = state_.Selection.EndRow = cellUnderPointer.Row;
    state_.Selection.StartCol = state_.Selection.EndCol = col;
}

void Editor::gridMouseRelease(MouseButton button, GridCell cellUnderPointer, bool gridHasFocus)
{
    if (button != MouseButton::Left || !gridHasFocus || state_.GridEditor.Open) return;
    state_.Selection = selectionAfterRelease(state_.Selection, cellUnderPointer.Row, foldColumn(cellUnderPointer.Col));
}

// Two typed characters make a byte: the next cell becomes current, which hands them over.
void Editor::RxDrawGrid1EditChange(const std::string& text)
{
    if (text.size() != 2) return;
    GridCell current = state_.Current;
    if (current.Col >= 1 && current.Col < GridByteColumns) {
        setCurrentCell({current.Row, current.Col + 1});
    } else if (current.Col == GridByteColumns) {
        setCurrentCell({current.Row, 1});
        setCurrentCell({std::min(state_.RowCount - 1, current.Row + 1), 1});
    }
}

void Editor::RxDrawGrid1SetEditText(const std::string& text, GridCell cell)
{
    const TResource* segment = currentSegment();
    if (!segment || !isByteColumn(cell.Col)) return;
    auto index = byteIndexAtCell(gridLead(document_, *segment), segment->Size, cell.Row, cell.Col);
    if (!index) return;
    document_.Segments[*state_.ListBox1ItemIndex].Data[static_cast<std::size_t>(*index)] =
        static_cast<std::uint8_t>(hexValueOfText(text) & 0xFF);
}

void Editor::RxDrawGrid1Click()
{
    if (!state_.ForceMode) return;
    state_.ForceMode = false;
    state_.Panel3Visible = false;
}

void Editor::Copy1Click()
{
    handOverGridEditor();
    const TResource* segment = currentSegment();
    std::string text = segment ? copyHexText(state_.Selection, gridLead(document_, *segment), *segment) : std::string();
    prompts_.setClipboardText(text);
}

}  // namespace quillet
