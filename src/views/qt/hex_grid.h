#pragma once
#include <QAbstractScrollArea>
#include <QFont>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "views/view_ports.h"

class QLineEdit;
class QMenu;
class QPainter;

namespace quillet {

// The hex grid. It holds no data and no rules of its own: it paints the segment, current cell
// and selection its port gives, and forwards the person's mouse and key events to the port. The vertical scroll bar
// counts rows, not pixels, and only the rows in view are painted. When the columns are wider than the view, a
// horizontal scroll bar moves them all, in pixels.
class HexGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit HexGrid(GridPort& grid, QWidget* parent = nullptr);

    // Shows the port's state: scroll range from the row count, the current cell kept in view
    // when it moved, the in-place editor opened or closed, everything repainted.
    void refresh();
    // The first scrollable row in view (1 when not scrolled).
    std::int64_t topRow() const;
    std::vector<int>& columnWidths() { return columnWidths_; }
    const QFont& cellFont() const { return gridFont_; }
    // The popup menu of the grid; the window owns it.
    void setPopupMenu(QMenu* menu) { popupMenu_ = menu; }
    QLineEdit* inPlaceEditor() const { return inPlaceEditor_; }
    // The cell's rectangle in viewport coordinates (it may lie outside the viewport).
    QRect cellRect(std::int64_t row, int col) const;
    // The widget's width at which every column shows whole beside the vertical scroll bar.
    int wholeRowsWidth() const;

signals:
    // Emitted after every event forwarded to the port, so that the window shows the rest.
    void stateChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void afterEvent();
    int visibleDataRows() const;
    int columnLeft(int col) const;
    int totalWidth() const;
    // Pixels of the columns scrolled out of view on the left.
    int scrollX() const;
    // A viewport point in the coordinates of the unscrolled columns.
    QPoint toColumns(QPointF viewportPoint) const;
    QRect unscrolledCellRect(std::int64_t row, int col) const;
    // x and points in the coordinates of the unscrolled columns.
    std::optional<int> columnBorderAt(int x) const;
    std::optional<GridCell> nonFixedCellAt(QPoint point) const;
    GridCell foldedCellAt(QPoint point) const;
    std::optional<GridCell> cellForMoveKey(const QKeyEvent* event) const;
    bool handleMoveKey(const QKeyEvent* event);
    void handleFocusLeaving(const QFocusEvent* event);
    void updateScrollRange();
    void keepCurrentInView();
    void keepColumnInView(int col);
    void syncInPlaceEditor();
    void placeInPlaceEditor();
    void fitOffsetColumn();
    void onInPlaceTextEdited(const QString& text);

    void paintHeaderRow(QPainter& painter) const;
    void paintDataRow(QPainter& painter, std::int64_t row, int y) const;
    void paintFixedCell(QPainter& painter, const QRect& rect, const QString& text, int alignment) const;
    void paintDataCell(QPainter& painter, const QRect& rect, std::int64_t row, int col, std::uint8_t byte) const;
    void paintCurrentCellFrame(QPainter& painter) const;

    GridPort& grid_;
    std::vector<int> columnWidths_;
    QFont gridFont_;
    std::array<QString, 256> byteTexts_;  // "00" .. "FF"
    std::array<QString, 256> charTexts_;  // the character cells' texts, ready for display
    QLineEdit* inPlaceEditor_;
    QMenu* popupMenu_ = nullptr;
    std::optional<int> resizingColumn_;
    bool offsetColumnWidened_ = false;
    GridCell lastShownCurrent_;
};

}  // namespace quillet
