#include "views/qt/list_models.h"

#include <algorithm>
#include <climits>

#include "views/view_ports.h"

namespace quillet {

LineListModel::LineListModel(const DocumentSource& source, Lines lines, QObject* parent)
    : QAbstractListModel(parent), source_(source), lines_(lines)
{}

int LineListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

QVariant LineListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() < 0) return {};
    const Document* document = source_.shownDocument();
    auto row = static_cast<std::size_t>(index.row());
    if (!document || row >= lineCount(*document)) return {};
    return QString::fromStdString(line(*document, row));
}

void LineListModel::refresh()
{
    const Document* document = source_.shownDocument();
    if (!document) return;
    // Qt counts rows in int; a longer list shows its first INT_MAX lines.
    int rows = static_cast<int>(std::min<std::size_t>(lineCount(*document), INT_MAX));
    if (rows != rows_) {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    } else if (rows_ > 0) {
        emit dataChanged(index(0), index(rows_ - 1), {Qt::DisplayRole});
    }
}

std::size_t LineListModel::lineCount(const Document& document) const
{
    return lines_ == Lines::Index ? document.indexTable.size() : document.segments.size();
}

std::string LineListModel::line(const Document& document, std::size_t row) const
{
    return lines_ == Lines::Index ? document.indexLine(row) : document.segmentLine(row);
}

}  // namespace quillet
