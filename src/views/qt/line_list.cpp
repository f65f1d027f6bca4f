#include "views/qt/line_list.h"

#include <QAbstractItemModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace quillet {

LineList::LineList(QWidget* parent) : QAbstractScrollArea(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Base);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(1);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
}

void LineList::setModel(QAbstractItemModel* model)
{
    if (model_) disconnect(model_, nullptr, this, nullptr);
    model_ = model;
    if (model_) {
        connect(model_, &QAbstractItemModel::modelReset, this, &LineList::modelReset);
        connect(model_, &QAbstractItemModel::dataChanged, viewport(), qOverload<>(&QWidget::update));
        connect(model_, &QAbstractItemModel::rowsInserted, this, &LineList::modelReset);
        connect(model_, &QAbstractItemModel::rowsRemoved, this, &LineList::modelReset);
    }
    modelReset();
}

int LineList::rowCount() const
{
    return model_ ? model_->rowCount() : 0;
}

void LineList::modelReset()
{
    if (current_ && *current_ >= rowCount()) current_.reset();
    updateScrollBar();
    viewport()->update();
}

int LineList::visibleRows() const
{
    return std::max(1, viewport()->height() / LineHeight);
}

int LineList::topRow() const
{
    return verticalScrollBar()->value();
}

void LineList::updateScrollBar()
{
    int pageRows = visibleRows();
    verticalScrollBar()->setPageStep(pageRows);
    verticalScrollBar()->setRange(0, std::max(0, rowCount() - pageRows));
}

void LineList::ensureVisible(int row)
{
    int top = topRow();
    if (row < top)
        verticalScrollBar()->setValue(row);
    else if (row >= top + visibleRows())
        verticalScrollBar()->setValue(row - visibleRows() + 1);
}

void LineList::setCurrentRow(std::optional<int> row)
{
    if (row && (*row < 0 || *row >= rowCount())) row.reset();
    if (row) ensureVisible(*row);
    if (row == current_) return;
    current_ = row;
    viewport()->update();
}

std::optional<int> LineList::rowAt(int y) const
{
    if (y < 0) return std::nullopt;
    // Computed in 64 bits: the top row may be near INT_MAX.
    long long row = static_cast<long long>(topRow()) + y / LineHeight;
    if (row >= rowCount()) return std::nullopt;
    return static_cast<int>(row);
}

void LineList::pick(int row)
{
    setCurrentRow(row);
    emit rowPickedByUser(row);
}

void LineList::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBar();
}

void LineList::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    int rows = rowCount();
    int top = topRow();
    for (int i = 0; i <= visibleRows() && top + i < rows; ++i) paintRow(painter, top + i, i * LineHeight);
}

void LineList::paintRow(QPainter& painter, int row, int y)
{
    QRect rect(0, y, viewport()->width(), LineHeight);
    bool selected = current_ == row;
    if (selected) painter.fillRect(rect, palette().color(QPalette::Highlight));
    painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
    QString text = model_->data(model_->index(row, 0)).toString();
    painter.drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    if (selected && hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::HighlightedText), 1, Qt::DotLine));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

void LineList::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    if (auto row = rowAt(event->position().toPoint().y())) pick(*row);
}

void LineList::mouseMoveEvent(QMouseEvent* event)
{
    // Dragging with the button held moves the selection, as in a list box.
    if (!(event->buttons() & Qt::LeftButton)) return;
    int y = std::clamp(event->position().toPoint().y(), 0, viewport()->height() - 1);
    auto row = rowAt(y);
    if (row && row != current_) pick(*row);
}

void LineList::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}

std::optional<int> LineList::keyTarget(int key) const
{
    int rows = rowCount();
    if (rows == 0) return std::nullopt;
    // Without a selected line every movement key starts from the first line.
    int from = current_.value_or(-1);
    int page = std::max(1, visibleRows() - 1);
    long long target;
    switch (key) {
    case Qt::Key_Up: target = current_ ? from - 1LL : 0; break;
    case Qt::Key_Down: target = from + 1LL; break;
    case Qt::Key_PageUp: target = current_ ? static_cast<long long>(from) - page : 0; break;
    case Qt::Key_PageDown: target = current_ ? static_cast<long long>(from) + page : 0; break;
    case Qt::Key_Home: target = 0; break;
    case Qt::Key_End: target = rows - 1; break;
    default: return std::nullopt;
    }
    return static_cast<int>(std::clamp<long long>(target, 0, rows - 1));
}

void LineList::keyPressEvent(QKeyEvent* event)
{
    auto target = keyTarget(event->key());
    if (!target) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
    if (target != current_) pick(*target);
}

void LineList::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void LineList::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

}  // namespace quillet
