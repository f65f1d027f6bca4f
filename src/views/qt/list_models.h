#pragma once
#include <QAbstractListModel>

#include <cstddef>
#include <string>

namespace quillet {

class DocumentSource;
struct Document;

// A list of the document's lines, each made from the document when it is shown, so that a list
// of hundreds of millions of lines costs nothing until it is scrolled to. While the source shows
// no document (long work writes it), the lines stay as many and show nothing.
class LineListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit LineListModel(const DocumentSource& source, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Catches up with the document after a command: a reset when the number of lines changed,
    // otherwise one change notice for every line, since a command may rewrite lines in place.
    void refresh();

protected:
    virtual std::size_t lineCount(const Document& document) const = 0;
    virtual std::string line(const Document& document, std::size_t row) const = 0;

private:
    const DocumentSource& source_;
    int rows_ = 0;
};

// The index list: one line per index entry.
class IndexListModel final : public LineListModel {
    Q_OBJECT
public:
    using LineListModel::LineListModel;

protected:
    std::size_t lineCount(const Document& document) const override;
    std::string line(const Document& document, std::size_t row) const override;
};

// The segment list: one line per segment.
class SegmentListModel final : public LineListModel {
    Q_OBJECT
public:
    using LineListModel::LineListModel;

protected:
    std::size_t lineCount(const Document& document) const override;
    std::string line(const Document& document, std::size_t row) const override;
};

}  // namespace quillet
