#include "views/qt/line_list.h"

#include <QAbstractListModel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace quillet {
namespace {

// Lines made from their number, as many as asked for, nothing stored.
class CountingModel : public QAbstractListModel {
public:
    explicit CountingModel(int rows) : rows_(rows) {}
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        ++asked;
        if (role != Qt::DisplayRole) return {};
        return QStringLiteral("line %1").arg(index.row());
    }
    void setRows(int rows)
    {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    }
    mutable long long asked = 0;

private:
    int rows_;
};

class LineListTest : public ::testing::Test {
protected:
    void show(int rows)
    {
        model = std::make_unique<CountingModel>(rows);
        list.setModel(model.get());
        list.resize(200, 10 * LineList::LineHeight + 2 * list.frameWidth());
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    }

    std::unique_ptr<CountingModel> model;
    LineList list;
};

TEST_F(LineListTest, TheProgramSelectsWithoutASignalAndScrollsTheLineIntoView)
{
    show(100);
    QSignalSpy picked(&list, &LineList::rowPickedByUser);
    list.setCurrentRow(50);
    EXPECT_EQ(list.currentRow(), 50);
    EXPECT_LE(list.topRow(), 50);
    EXPECT_GT(list.topRow() + 10, 50);
    list.setCurrentRow(std::nullopt);
    EXPECT_FALSE(list.currentRow().has_value());
    list.setCurrentRow(100);  // past the end: no line
    EXPECT_FALSE(list.currentRow().has_value());
    EXPECT_EQ(picked.count(), 0);
}

TEST_F(LineListTest, ClicksAndMovementKeysArePickedByThePerson)
{
    show(100);
    QSignalSpy picked(&list, &LineList::rowPickedByUser);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(10, 3 * LineList::LineHeight + 2));
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.takeFirst().at(0).toInt(), 3);

    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Down);
    QTest::keyClick(&list, Qt::Key_End);
    QTest::keyClick(&list, Qt::Key_Down);  // already on the last line: nothing to pick
    QTest::keyClick(&list, Qt::Key_Home);
    QTest::keyClick(&list, Qt::Key_Up);
    ASSERT_EQ(picked.count(), 3);
    EXPECT_EQ(picked.at(0).at(0).toInt(), 4);
    EXPECT_EQ(picked.at(1).at(0).toInt(), 99);
    EXPECT_EQ(picked.at(2).at(0).toInt(), 0);

    // A right click and a click below the last line pick nothing.
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, QPoint(10, 5));
    EXPECT_EQ(picked.count(), 3);
}

TEST_F(LineListTest, AClickBelowTheLastLinePicksNothing)
{
    show(2);
    QSignalSpy picked(&list, &LineList::rowPickedByUser);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(10, 5 * LineList::LineHeight));
    EXPECT_EQ(picked.count(), 0);
    EXPECT_FALSE(list.rowAt(5 * LineList::LineHeight).has_value());
}

TEST_F(LineListTest, HundredsOfMillionsOfLinesAskOnlyForTheLinesInView)
{
    show(537'000'000);
    list.setCurrentRow(536'999'999);
    EXPECT_EQ(list.verticalScrollBar()->maximum(), 537'000'000 - 10);
    EXPECT_EQ(list.topRow(), 537'000'000 - 10);
    model->asked = 0;
    list.grab();
    EXPECT_GT(model->asked, 0);
    EXPECT_LE(model->asked, 11);
    EXPECT_EQ(list.rowAt(9 * LineList::LineHeight), 536'999'999);
}

TEST_F(LineListTest, AResetDropsASelectionPastTheNewEnd)
{
    show(20);
    list.setCurrentRow(15);
    model->setRows(10);
    EXPECT_FALSE(list.currentRow().has_value());
    EXPECT_EQ(list.verticalScrollBar()->maximum(), 0);
}

}  // namespace
}  // namespace quillet
