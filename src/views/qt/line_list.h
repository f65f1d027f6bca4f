#pragma once
#include <QAbstractScrollArea>
#include <QPointer>

#include <optional>

class QAbstractItemModel;

namespace quillet {

// A list box of fixed-height lines that asks its model only for the lines in view and keeps no
// data per line, so a list of hundreds of millions of lines opens and scrolls at once. Its scroll
// bar counts lines. It has one selected line or none; the person's choices are reported by
// rowPickedByUser, while the program sets the selection with setCurrentRow without a signal.
class LineList : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int LineHeight = 16;

    explicit LineList(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model);
    int rowCount() const;
    std::optional<int> currentRow() const { return current_; }
    // Selects a line (or none) and scrolls it into view; no signal.
    void setCurrentRow(std::optional<int> row);
    int topRow() const;
    // The line under a viewport position, or nothing below the last line.
    std::optional<int> rowAt(int y) const;

signals:
    void rowPickedByUser(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int visibleRows() const;
    void updateScrollBar();
    void ensureVisible(int row);
    void pick(int row);
    void modelReset();
    std::optional<int> keyTarget(int key) const;
    void paintRow(QPainter& painter, int row, int y);

    QPointer<QAbstractItemModel> model_;
    std::optional<int> current_;
};

}  // namespace quillet
