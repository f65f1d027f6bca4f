#pragma once
#include <QAbstractListModel>

#include <cstddef>
#include <string>

namespace quillet {

class Editor;

// A list of the document's lines, each made from the document when it is shown, so that a list
// of hundreds of millions of lines costs nothing until it is scrolled to.
class LineListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit LineListModel(const Editor& editor, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Catches up with the document after a command: a reset when the number of lines changed,
    // otherwise one change notice for every line, since a command may rewrite lines in place.
    void refresh();

protected:
    virtual std::size_t lineCount() const = 0;
    virtual std::string line(std::size_t row) const = 0;

    const Editor& editor_;

private:
    int shownRows() const;
    int rows_ = 0;
};

// The index list: one line per index entry.
class IndexListModel final : public LineListModel {
    Q_OBJECT
public:
    using LineListModel::LineListModel;

protected:
    std::size_t lineCount() const override;
    std::string line(std::size_t row) const override;
};

// The segment list: one line per segment.
class SegmentListModel final : public LineListModel {
    Q_OBJECT
public:
    using LineListModel::LineListModel;

protected:
    std::size_t lineCount() const override;
    std::string line(std::size_t row) const override;
};

}  // namespace quillet
