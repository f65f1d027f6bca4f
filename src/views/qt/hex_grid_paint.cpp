// Painting of the hex grid: only the rows in view, every cell drawn from the segment.
#include <QPainter>
#include <QPen>
#include <qdrawutil.h>

#include "model/hex.h"
#include "views/grid_geometry.h"
#include "views/qt/hex_grid.h"

namespace quillet {

namespace {
constexpr int TextRightMargin = 3;

QColor colourOf(std::uint32_t rgb)
{
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}
}  // namespace

void HexGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.setFont(gridFont_);
    painter.fillRect(viewport()->rect(), palette().brush(QPalette::Base));
    // The rows are painted in the coordinates of the unscrolled columns.
    painter.translate(-scrollX(), 0);
    paintHeaderRow(painter);
    std::int64_t lastRow = grid_.rowCount() - 1;
    int height = viewport()->height();
    for (std::int64_t row = topRow(); row <= lastRow; ++row) {
        int y = static_cast<int>(row - topRow() + 1) * GridRowHeight;
        if (y >= height) break;
        paintDataRow(painter, row, y);
    }
    paintCurrentCellFrame(painter);
}

void HexGrid::paintHeaderRow(QPainter& painter) const
{
    static const QString digits = QStringLiteral("0123456789ABCDEF");
    int x = 0;
    for (int col = 0; col < GridColumnCount; ++col) {
        QRect rect(x, 0, columnWidths_[static_cast<std::size_t>(col)], GridRowHeight);
        QString text;
        if (col == 0) text = tr("Offset");
        if (col >= 1 && col <= GridByteColumns) text = digits.at(col - 1);
        paintFixedCell(painter, rect, text, Qt::AlignHCenter);
        x += rect.width();
    }
}

void HexGrid::paintDataRow(QPainter& painter, std::int64_t row, int y) const
{
    QRect offsetRect(0, y, columnWidths_[0], GridRowHeight);
    std::optional<ShownSegment> shown = grid_.shownSegment();
    if (!shown) {
        paintFixedCell(painter, offsetRect, QString(), Qt::AlignRight);
        return;
    }
    std::int64_t label = rowOffsetLabel(shown->dataStart, row);
    paintFixedCell(painter, offsetRect,
                   QString::fromStdString(hexUpper(static_cast<std::uint64_t>(label), GridOffsetDigits)),
                   Qt::AlignRight);
    const SegmentBytes& data = shown->segment->data;
    int right = scrollX() + viewport()->width();
    int x = offsetRect.width();
    for (int col = 1; col < GridColumnCount && x < right; ++col) {
        QRect rect(x, y, columnWidths_[static_cast<std::size_t>(col)], GridRowHeight);
        std::optional<std::int64_t> index = shown->layout.byteAt(row, col);
        if (index) paintDataCell(painter, rect, row, col, data[static_cast<std::size_t>(*index)]);
        x += rect.width();
    }
}

// Fixed cells look like raised header buttons in the button-face colour.
void HexGrid::paintFixedCell(QPainter& painter, const QRect& rect, const QString& text, int alignment) const
{
    QBrush face = palette().brush(QPalette::Button);
    qDrawShadePanel(&painter, rect, palette(), false, 1, &face);
    if (text.isEmpty()) return;
    painter.setPen(palette().color(QPalette::ButtonText));
    QRect textRect = alignment & Qt::AlignRight ? rect.adjusted(0, 0, -TextRightMargin, 0) : rect;
    painter.drawText(textRect, alignment | Qt::AlignVCenter, text);
}

void HexGrid::paintDataCell(QPainter& painter, const QRect& rect, std::int64_t row, int col, std::uint8_t byte) const
{
    Theme theme = themeOf(palette().color(QPalette::Base).rgb() & 0xFFFFFF,
                          palette().color(QPalette::Text).rgb() & 0xFFFFFF);
    CellColours colours = cellColours(row, col, grid_.gridSelection(), grid_.currentCell(), theme);
    painter.fillRect(rect, colours.background ? colourOf(*colours.background) : palette().color(QPalette::Base));
    painter.setPen(colours.text ? colourOf(*colours.text) : palette().color(QPalette::Text));
    const QString& text = col <= GridByteColumns ? byteTexts_[byte] : charTexts_[byte];
    painter.drawText(rect.adjusted(0, 0, -TextRightMargin, 0), Qt::AlignRight | Qt::AlignVCenter, text);
}

void HexGrid::paintCurrentCellFrame(QPainter& painter) const
{
    GridCell current = grid_.currentCell();
    if (current.row < topRow() || current.row >= grid_.rowCount()) return;
    QRect rect = unscrolledCellRect(current.row, current.col).adjusted(0, 0, -1, -1);
    painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect);
}

}  // namespace quillet
