#include "views/qt/hex_grid.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLineEdit>
#include <QScrollBar>

#include <algorithm>
#include <climits>

#include "model/hex.h"
#include "views/grid_geometry.h"
#include "views/qt/ansi_text.h"

namespace quillet {

namespace {
// Room beside a widened offset column's label: its right margin and a little more.
constexpr int OffsetLabelMargins = 8;

QFont gridFontFor()
{
    QFont font = QFontDatabase::families().contains(QStringLiteral("Courier New"))
                     ? QFont(QStringLiteral("Courier New"))
                     : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(13);
    font.setFixedPitch(true);
    return font;
}
}  // namespace

HexGrid::HexGrid(GridPort& grid, QWidget* parent)
    : QAbstractScrollArea(parent),
      grid_(grid),
      columnWidths_(defaultGridColumnWidths()),
      gridFont_(gridFontFor()),
      inPlaceEditor_(new QLineEdit(viewport())),
      lastShownCurrent_(grid.currentCell())
{
    setFocusPolicy(Qt::StrongFocus);
    setFont(gridFont_);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setSingleStep(1);
    viewport()->setMouseTracking(true);
    viewport()->setBackgroundRole(QPalette::Base);
    for (int byte = 0; byte < 256; ++byte) {
        byteTexts_[byte] = QString::fromStdString(hexUpper(static_cast<std::uint64_t>(byte), 2));
        std::string text = characterCellText(static_cast<std::uint8_t>(byte), grid_.codePage());
        charTexts_[byte] = toDisplay(grid_.codePage(), text);
    }
    inPlaceEditor_->setFrame(false);
    inPlaceEditor_->setFont(gridFont_);
    inPlaceEditor_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    inPlaceEditor_->setTextMargins(0, 0, 0, 0);
    inPlaceEditor_->hide();
    inPlaceEditor_->installEventFilter(this);
    connect(inPlaceEditor_, &QLineEdit::textEdited, this, &HexGrid::onInPlaceTextEdited);
    refresh();
}

std::int64_t HexGrid::topRow() const
{
    return std::int64_t{verticalScrollBar()->value()} + 1;
}

int HexGrid::visibleDataRows() const
{
    return std::max(0, (viewport()->height() - GridRowHeight) / GridRowHeight);
}

int HexGrid::columnLeft(int col) const
{
    int left = 0;
    for (int c = 0; c < col && c < static_cast<int>(columnWidths_.size()); ++c) left += columnWidths_[c];
    return left;
}

int HexGrid::totalWidth() const
{
    return columnLeft(GridColumnCount);
}

int HexGrid::scrollX() const
{
    return horizontalScrollBar()->value();
}

QPoint HexGrid::toColumns(QPointF viewportPoint) const
{
    return viewportPoint.toPoint() + QPoint(scrollX(), 0);
}

QRect HexGrid::unscrolledCellRect(std::int64_t row, int col) const
{
    int y = row == 0 ? 0 : static_cast<int>((row - topRow() + 1) * GridRowHeight);
    return QRect(columnLeft(col), y, columnWidths_[static_cast<std::size_t>(col)], GridRowHeight);
}

QRect HexGrid::cellRect(std::int64_t row, int col) const
{
    return unscrolledCellRect(row, col).translated(-scrollX(), 0);
}

int HexGrid::wholeRowsWidth() const
{
    return totalWidth() + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
}

void HexGrid::refresh()
{
    fitOffsetColumn();
    updateScrollRange();
    keepCurrentInView();
    syncInPlaceEditor();
    viewport()->update();
}

// Offsets past 4 GiB take more than eight digits: the offset column widens to show them whole for
// such a segment only, and takes its design width back after it.
void HexGrid::fitOffsetColumn()
{
    std::optional<ShownSegment> shown = grid_.shownSegment();
    int digits = shown ? rowOffsetDigits(shown->dataStart, grid_.rowCount()) : GridOffsetDigits;
    int& width = columnWidths_[0];
    if (digits == GridOffsetDigits) {
        if (offsetColumnWidened_) width = GridOffsetColumnWidth;
        offsetColumnWidened_ = false;
        return;
    }
    int label = QFontMetrics(gridFont_).horizontalAdvance(QString(digits, QLatin1Char('0')));
    int needed = std::max(GridOffsetColumnWidth, label + OffsetLabelMargins);
    if (width < needed) width = needed;
    offsetColumnWidened_ = true;
}

void HexGrid::afterEvent()
{
    refresh();
    emit stateChanged();
}

// The vertical scroll bar counts rows: its value is the top row - 1, its maximum leaves the
// last row at the bottom of the view. The horizontal one counts pixels of the columns.
void HexGrid::updateScrollRange()
{
    QScrollBar* across = horizontalScrollBar();
    across->setRange(0, std::max(0, totalWidth() - viewport()->width()));
    across->setPageStep(std::max(1, viewport()->width()));
    across->setSingleStep(GridByteColumnWidth);

    std::int64_t dataRows = std::max<std::int64_t>(0, grid_.rowCount() - 1);
    std::int64_t maximum = std::max<std::int64_t>(0, dataRows - visibleDataRows());
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, static_cast<int>(std::min<std::int64_t>(maximum, INT_MAX)));
    bar->setPageStep(std::max(1, visibleDataRows()));
}

void HexGrid::keepCurrentInView()
{
    GridCell current = grid_.currentCell();
    if (current == lastShownCurrent_) return;
    lastShownCurrent_ = current;
    std::int64_t rows = std::max(1, visibleDataRows());
    QScrollBar* bar = verticalScrollBar();
    if (current.row < topRow()) {
        bar->setValue(static_cast<int>(current.row - 1));
    } else if (current.row >= topRow() + rows) {
        bar->setValue(static_cast<int>(current.row - rows));
    }
    keepColumnInView(current.col);
}

void HexGrid::keepColumnInView(int col)
{
    int left = columnLeft(col);
    int right = left + columnWidths_[static_cast<std::size_t>(col)];
    QScrollBar* across = horizontalScrollBar();
    if (left < scrollX()) {
        across->setValue(left);
    } else if (right > scrollX() + viewport()->width()) {
        across->setValue(std::min(left, right - viewport()->width()));
    }
}

void HexGrid::syncInPlaceEditor()
{
    const GridEditorState& state = grid_.gridEditor();
    if (!state.open) {
        if (inPlaceEditor_->isHidden()) return;
        // Give the focus back before hiding, so Qt does not pass it on to another control.
        if (inPlaceEditor_->hasFocus()) setFocus(Qt::OtherFocusReason);
        inPlaceEditor_->hide();
        return;
    }
    QString text = QString::fromStdString(state.text);
    if (inPlaceEditor_->text() != text) inPlaceEditor_->setText(text);
    placeInPlaceEditor();
    if (inPlaceEditor_->isHidden()) {
        inPlaceEditor_->show();
        inPlaceEditor_->setFocus(Qt::OtherFocusReason);
        inPlaceEditor_->end(false);
    }
}

void HexGrid::placeInPlaceEditor()
{
    const GridEditorState& state = grid_.gridEditor();
    if (!state.open) return;
    // A cell scrolled out of view keeps its editor, out of sight.
    bool inView = state.cell.row >= topRow() && state.cell.row < topRow() + visibleDataRows() + 1;
    QRect rect = cellRect(state.cell.row, state.cell.col);
    if (!inView) rect.moveTo(-rect.width() - 10, -rect.height() - 10);
    inPlaceEditor_->setGeometry(rect);
}

void HexGrid::onInPlaceTextEdited(const QString& text)
{
    grid_.gridEditorTextChanged(text.toStdString());
    afterEvent();
}

void HexGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
    placeInPlaceEditor();
}

void HexGrid::scrollContentsBy(int, int)
{
    placeInPlaceEditor();
    viewport()->update();
}

}  // namespace quillet
