#include "views/qt/list_models.h"

#include <algorithm>
#include <climits>

#include "app/editor.h"

namespace quillet {

LineListModel::LineListModel(const Editor& editor, QObject* parent) : QAbstractListModel(parent), editor_(editor) {}

int LineListModel::shownRows() const
{
    // Qt counts rows in int; a longer list shows its first INT_MAX lines.
    return static_cast<int>(std::min<std::size_t>(lineCount(), INT_MAX));
}

int LineListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

QVariant LineListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() < 0) return {};
    auto row = static_cast<std::size_t>(index.row());
    // While long work writes the document, its lines are not read.
    if (row >= lineCount() || editor_.busy()) return {};
    return QString::fromStdString(line(row));
}

void LineListModel::refresh()
{
    int rows = shownRows();
    if (rows != rows_) {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    } else if (rows_ > 0) {
        emit dataChanged(index(0), index(rows_ - 1), {Qt::DisplayRole});
    }
}

std::size_t IndexListModel::lineCount() const
{
    return editor_.document().indexTable.size();
}

std::string IndexListModel::line(std::size_t row) const
{
    return editor_.document().indexLine(row);
}

std::size_t SegmentListModel::lineCount() const
{
    return editor_.document().segments.size();
}

std::string SegmentListModel::line(std::size_t row) const
{
    return editor_.document().segmentLine(row);
}

}  // namespace quillet
