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
    // Which lines: the index list's (one per index entry) or the segment list's (one per segment).
    enum class Lines { Index, Segments };

    LineListModel(const DocumentSource& source, Lines lines, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Catches up with the document after a command: a reset when the number of lines changed,
    // otherwise one change notice for every line, since a command may rewrite lines in place.
    void refresh();

private:
    std::size_t lineCount(const Document& document) const;
    std::string line(const Document& document, std::size_t row) const;

    const DocumentSource& source_;
    Lines lines_;
    int rows_ = 0;
};

}  // namespace quillet
