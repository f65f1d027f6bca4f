// The hex grid's mouse, keyboard and focus events, each forwarded to its port.
#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>
#include <cstdlib>

#include "views/grid_geometry.h"
#include "views/qt/hex_grid.h"

namespace quillet {

namespace {
constexpr int MinimumColumnWidth = 2;
constexpr int ResizeGrip = 3;  // pixels either side of a column border that start a resize

MouseButton mouseButtonOf(Qt::MouseButton button)
{
    if (button == Qt::RightButton) return MouseButton::Right;
    if (button == Qt::LeftButton) return MouseButton::Left;
    return MouseButton::Middle;
}

bool isPrintableText(const QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = event->text();
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar ch) { return ch.isPrint(); });
}
}  // namespace

std::optional<int> HexGrid::columnBorderAt(int x) const
{
    int right = 0;
    for (int col = 0; col < GridColumnCount; ++col) {
        right += columnWidths_[static_cast<std::size_t>(col)];
        if (std::abs(x - right) <= ResizeGrip) return col;
    }
    return std::nullopt;
}

// The cell that a press may make current: a byte or character cell of an existing row.
std::optional<GridCell> HexGrid::nonFixedCellAt(QPoint point) const
{
    if (point.y() < GridRowHeight || point.x() < columnWidths_[0] || point.x() >= totalWidth()) return std::nullopt;
    std::int64_t row = topRow() + point.y() / GridRowHeight - 1;
    if (row >= grid_.rowCount()) return std::nullopt;
    int col = 1;
    for (int left = columnLeft(1); col < GridColumnCount - 1; ++col) {
        left += columnWidths_[static_cast<std::size_t>(col)];
        if (left > point.x()) break;
    }
    return GridCell{row, col};
}

GridCell HexGrid::foldedCellAt(QPoint point) const
{
    return cellAtPoint(point.x(), point.y(), columnWidths_, grid_.rowCount(), topRow());
}

void HexGrid::mousePressEvent(QMouseEvent* event)
{
    QPoint point = toColumns(event->position());
    bool left = event->button() == Qt::LeftButton;
    resizingColumn_ = left && point.y() < GridRowHeight ? columnBorderAt(point.x()) : std::nullopt;
    std::optional<GridCell> cell = left ? nonFixedCellAt(point) : std::nullopt;
    bool pressOnCurrent = cell && *cell == grid_.currentCell();
    if (cell && !pressOnCurrent) grid_.gridMoveCurrent(*cell);
    grid_.gridMousePress(mouseButtonOf(event->button()), foldedCellAt(point));
    if (pressOnCurrent && grid_.canEditColumn(cell->col)) grid_.gridEditKey();
    afterEvent();
}

// A double click arrives in place of the second press. It neither moves the current cell nor
// opens the editor, and the selection stays at the cell that the first press chose.
void HexGrid::mouseDoubleClickEvent(QMouseEvent*) {}

void HexGrid::mouseMoveEvent(QMouseEvent* event)
{
    QPoint point = toColumns(event->position());
    if (resizingColumn_ && (event->buttons() & Qt::LeftButton)) {
        int col = *resizingColumn_;
        columnWidths_[static_cast<std::size_t>(col)] = std::max(MinimumColumnWidth, point.x() - columnLeft(col));
        updateScrollRange();
        placeInPlaceEditor();
        viewport()->update();
        return;
    }
    bool onBorder = point.y() < GridRowHeight && columnBorderAt(point.x());
    if (onBorder) {
        viewport()->setCursor(Qt::SplitHCursor);
    } else {
        viewport()->unsetCursor();
    }
}

void HexGrid::mouseReleaseEvent(QMouseEvent* event)
{
    resizingColumn_.reset();
    grid_.gridMouseRelease(mouseButtonOf(event->button()), foldedCellAt(toColumns(event->position())), hasFocus());
    afterEvent();
}

void HexGrid::contextMenuEvent(QContextMenuEvent* event)
{
    if (popupMenu_) popupMenu_->exec(event->globalPos());
}

std::optional<GridCell> HexGrid::cellForMoveKey(const QKeyEvent* event) const
{
    GridCell cell = grid_.currentCell();
    std::int64_t lastRow = std::max<std::int64_t>(1, grid_.rowCount() - 1);
    std::int64_t page = std::max(1, visibleDataRows());
    bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left: cell.col = std::max(1, cell.col - 1); break;
    case Qt::Key_Right: cell.col = std::min(GridColumnCount - 1, cell.col + 1); break;
    case Qt::Key_Up: cell.row = std::max<std::int64_t>(1, cell.row - 1); break;
    case Qt::Key_Down: cell.row = std::min(lastRow, cell.row + 1); break;
    case Qt::Key_PageUp: cell.row = std::max<std::int64_t>(1, cell.row - page); break;
    case Qt::Key_PageDown: cell.row = std::min(lastRow, cell.row + page); break;
    case Qt::Key_Home:
        cell.col = 1;
        if (control) cell.row = 1;
        break;
    case Qt::Key_End:
        cell.col = GridColumnCount - 1;
        if (control) cell.row = lastRow;
        break;
    default: return std::nullopt;
    }
    return cell;
}

bool HexGrid::handleMoveKey(const QKeyEvent* event)
{
    std::optional<GridCell> cell = cellForMoveKey(event);
    if (!cell) return false;
    grid_.gridMoveCurrent(*cell);
    afterEvent();
    return true;
}

void HexGrid::keyPressEvent(QKeyEvent* event)
{
    if (handleMoveKey(event)) return;
    if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier) {
        grid_.gridEditKey();
    } else if (event->key() == Qt::Key_Escape) {
        grid_.gridEditorEscape();
    } else if (isPrintableText(event)) {
        grid_.gridTypeCharacter(event->text().toStdString());
    } else {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    afterEvent();
}

// Leaving the grid (or its editor) for another control of the window hands the editor's text
// over. Qt sends the focus-out before the other control sees the press that took the focus.
void HexGrid::handleFocusLeaving(const QFocusEvent* event)
{
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) return;
    QWidget* next = QApplication::focusWidget();
    if (!next || next == this || isAncestorOf(next)) return;
    if (!grid_.gridEditor().open) return;
    grid_.gridFocusLost();
    afterEvent();
}

void HexGrid::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    handleFocusLeaving(event);
}

bool HexGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != inPlaceEditor_) return QAbstractScrollArea::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        // Ctrl+C belongs to the grid's "Copy HEX", not to the editor's own copy.
        return static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy);
    }
    if (event->type() == QEvent::FocusOut) {
        handleFocusLeaving(static_cast<QFocusEvent*>(event));
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Escape:
        grid_.gridEditorEscape();
        afterEvent();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: return handleMoveKey(key);
    default: return false;
    }
}

}  // namespace quillet
