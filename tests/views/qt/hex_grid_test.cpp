#include "views/qt/hex_grid.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include "model/loader.h"
#include "support/editor_fixture.h"
#include "support/resource_builder.h"
#include "views/grid_geometry.h"

namespace quillet {
namespace {

// The grid's two data segments, both without lead: `first` at 0x10 and 16 bytes behind it. The
// file's body begins at 4 with 12 bytes of its own, which the tests leave alone.
constexpr std::size_t FirstShown = 1;

Document gridDocument(const Bytes& first)
{
    return parseResource(
        test::resourceFile({test::repeatedHex("11", 12), test::hexOf(first), test::repeatedHex("00", 16)}));
}

// A window with the grid beside a segment list that selects through the Editor, as the main
// window's does.
class HexGridTest : public test::EditorFixture {
protected:
    void SetUp() override
    {
        // Two data segments, both without lead: 48 bytes at 0x10, 16 bytes at 0x40.
        openWithFirstSegment(Bytes(48, 0));

        auto* layout = new QHBoxLayout(&window);
        list = new QListWidget;
        list->addItems({"001 0010:003F", "002 0040:004F"});
        QObject::connect(list, &QListWidget::currentRowChanged, [this](int row) {
            if (row >= 0) editor.selectSegment(FirstShown + static_cast<std::size_t>(row));
            grid->refresh();
        });
        grid = new HexGrid(editor);
        layout->addWidget(list);
        layout->addWidget(grid, 1);
        window.resize(900, 300);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        grid->setFocus();
        grid->refresh();
    }

    // Opens a document whose first segment holds `bytes` at 0x10.
    void openWithFirstSegment(const Bytes& bytes)
    {
        open(gridDocument(bytes), "grid.rsc");
        editor.selectSegment(FirstShown);
    }

    void press(std::int64_t row, int col, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(grid->viewport(), button, {}, grid->cellRect(row, col).center());
    }
    void release(std::int64_t row, int col, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseRelease(grid->viewport(), button, {}, grid->cellRect(row, col).center());
    }
    void click(std::int64_t row, int col)
    {
        press(row, col);
        release(row, col);
    }
    // Each key goes where the person's key would go: to the widget holding the focus.
    void type(const QString& text)
    {
        for (QChar ch : text) QTest::keyClicks(QApplication::focusWidget(), QString(ch));
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    QWidget window;
    QListWidget* list = nullptr;
    HexGrid* grid = nullptr;
};

TEST_F(HexGridTest, PressAndReleaseAtPixelsSelectTheRunEitherWay)
{
    press(1, 3);
    release(2, 5);
    EXPECT_EQ(editor.state().selection, (GridSelection{1, 3, 2, 5}));
    EXPECT_EQ(editor.state().current, (GridCell{1, 3}));

    press(2, 5);
    release(1, 3);
    EXPECT_EQ(editor.state().selection, (GridSelection{1, 3, 2, 5}));
}

TEST_F(HexGridTest, CharacterCellsSelectTheirFoldedByteCell)
{
    click(2, 20);
    EXPECT_EQ(editor.state().selection, (GridSelection{2, 4, 2, 4}));
    EXPECT_EQ(editor.state().current, (GridCell{2, 20}));
}

TEST_F(HexGridTest, PressOnTheCurrentByteCellOpensTheEditorAndTheReleaseKeepsTheSelection)
{
    click(1, 3);
    press(1, 3);
    ASSERT_TRUE(editor.state().gridEditor.open);
    EXPECT_TRUE(grid->inPlaceEditor()->isVisible());
    EXPECT_TRUE(grid->inPlaceEditor()->hasFocus());
    EXPECT_EQ(grid->inPlaceEditor()->geometry(), grid->cellRect(1, 3));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(2, 5).center());
    EXPECT_EQ(editor.state().selection, (GridSelection{1, 3, 1, 3}));
}

TEST_F(HexGridTest, DoubleClickMovesTheCurrentCellButOpensNoEditor)
{
    Bytes bytes(48, 0);
    bytes[6] = 0x66;
    openWithFirstSegment(bytes);
    grid->refresh();
    // Through the window, so that Qt itself turns the second press into a double click.
    QPoint point = grid->viewport()->mapTo(&window, grid->cellRect(1, 7).center());
    QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, point);
    EXPECT_EQ(editor.state().current, (GridCell{1, 7}));
    EXPECT_EQ(editor.state().selection, (GridSelection{1, 7, 1, 7}));
    EXPECT_FALSE(editor.state().gridEditor.open);
    EXPECT_EQ(bytesOf(FirstShown)[6], 0x66);
}

TEST_F(HexGridTest, TwoTypedDigitsStoreTheByteAndMoveOn)
{
    click(1, 3);
    type("4");
    EXPECT_TRUE(grid->inPlaceEditor()->hasFocus());
    EXPECT_EQ(grid->inPlaceEditor()->text(), "4");
    type("F");
    EXPECT_EQ(bytesOf(FirstShown)[2], 0x4F);
    EXPECT_EQ(editor.state().current, (GridCell{1, 4}));
    EXPECT_FALSE(grid->inPlaceEditor()->isVisible());
    EXPECT_TRUE(grid->hasFocus());
    type("a0");
    EXPECT_EQ(bytesOf(FirstShown)[3], 0xA0);
    EXPECT_EQ(editor.state().current, (GridCell{1, 5}));
}

TEST_F(HexGridTest, EscapeDropsTheTypedText)
{
    click(1, 3);
    type("7");
    key(Qt::Key_Escape);
    EXPECT_FALSE(editor.state().gridEditor.open);
    EXPECT_FALSE(grid->inPlaceEditor()->isVisible());
    key(Qt::Key_Down);
    EXPECT_EQ(bytesOf(FirstShown)[2], 0x00);
    EXPECT_EQ(editor.state().current, (GridCell{2, 3}));
}

TEST_F(HexGridTest, ArrowKeyInTheEditorHandsOneDigitOver)
{
    click(1, 3);
    type("A");
    key(Qt::Key_Down);
    EXPECT_EQ(bytesOf(FirstShown)[2], 0x0A);
    EXPECT_EQ(editor.state().current, (GridCell{2, 3}));
    EXPECT_TRUE(grid->hasFocus());
}

TEST_F(HexGridTest, ClickOnAnotherCellHandsTheTextOver)
{
    click(1, 3);
    type("5");
    click(2, 1);
    EXPECT_EQ(bytesOf(FirstShown)[2], 0x05);
    EXPECT_EQ(editor.state().current, (GridCell{2, 1}));
    EXPECT_FALSE(grid->inPlaceEditor()->isVisible());
}

TEST_F(HexGridTest, ClickOnAnotherSegmentLineWritesTheSegmentThatWasCurrent)
{
    click(1, 3);
    type("9");
    QRect line = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
    EXPECT_EQ(editor.state().selectedSegment, FirstShown + 1);
    EXPECT_EQ(bytesOf(FirstShown)[2], 0x09);
    EXPECT_EQ(bytesOf(FirstShown + 1)[2], 0x00);
    EXPECT_FALSE(editor.state().gridEditor.open);
    EXPECT_FALSE(grid->inPlaceEditor()->isVisible());
}

TEST_F(HexGridTest, CopyShortcutReachesTheGridFromItsEditor)
{
    int copies = 0;
    QAction copy(grid);
    copy.setShortcut(QKeySequence::Copy);
    copy.setShortcutContext(Qt::WidgetWithChildrenShortcut);
    grid->addAction(&copy);
    QObject::connect(&copy, &QAction::triggered, [&] { ++copies; });
    click(1, 3);
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(copies, 1);
    type("1");
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(copies, 2);
    EXPECT_EQ(grid->inPlaceEditor()->text(), "1");
}

TEST_F(HexGridTest, KeyboardMovesKeepTheCurrentCellInViewAndThePointerFollowsTheScroll)
{
    openWithFirstSegment(Bytes(16 * 1000, 0));
    grid->refresh();
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(editor.state().current, (GridCell{1000, 32}));
    EXPECT_GT(grid->topRow(), 1);
    EXPECT_EQ(grid->topRow() + grid->verticalScrollBar()->pageStep() - 1, 1000);
    std::int64_t top = grid->topRow();
    click(top, 2);
    EXPECT_EQ(editor.state().selection, (GridSelection{top, 2, top, 2}));
}

TEST_F(HexGridTest, ColumnsWiderThanTheViewScrollSidewaysAndThePointerFollowsTheScroll)
{
    grid->setFixedWidth(grid->wholeRowsWidth());
    QApplication::processEvents();
    QScrollBar* across = grid->horizontalScrollBar();
    EXPECT_FALSE(across->isVisible()) << "whole rows need no horizontal scroll bar";
    EXPECT_LE(grid->cellRect(1, 32).right(), grid->viewport()->width() - 1);

    grid->setFixedWidth(grid->wholeRowsWidth() - 100);
    QApplication::processEvents();
    ASSERT_TRUE(across->isVisible());
    EXPECT_EQ(across->maximum(), grid->cellRect(1, 32).right() + 1 - grid->viewport()->width());
    across->setValue(across->maximum());
    EXPECT_EQ(grid->cellRect(2, 32).right(), grid->viewport()->width() - 1);

    click(2, 32);
    EXPECT_EQ(editor.state().current, (GridCell{2, 32}));
    EXPECT_EQ(editor.state().selection, (GridSelection{2, 16, 2, 16}));
    key(Qt::Key_Home);
    EXPECT_EQ(editor.state().current, (GridCell{2, 1}));
    EXPECT_GE(grid->cellRect(2, 1).left(), 0) << "the current cell is scrolled into view";
    key(Qt::Key_End);
    EXPECT_EQ(across->value(), across->maximum());

    // Dragging a column border in the header works on the scrolled columns too.
    QPoint border(grid->cellRect(0, 31).right() + 1, GridRowHeight / 2);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, border);
    QMouseEvent drag(QEvent::MouseMove, QPointF(border + QPoint(10, 0)), QPointF(grid->viewport()->mapToGlobal(border)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(grid->viewport(), &drag);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, border + QPoint(10, 0));
    EXPECT_EQ(grid->columnWidths()[31], GridCharColumnWidth + 10);
    EXPECT_EQ(across->maximum(), grid->cellRect(1, 32).right() + 1 + across->value() - grid->viewport()->width());
}

// The pixels of a cell as drawn in the viewport, at the screen's pixel ratio.
QImage cellImage(const QImage& viewport, const QRect& cell)
{
    qreal ratio = viewport.devicePixelRatio();
    QRect pixels(QPointF(cell.topLeft()).toPoint() * ratio, cell.size() * ratio);
    return viewport.copy(pixels);
}

TEST_F(HexGridTest, ControlAndUndefinedBytesAreDrawnAsADotInTheCharacterColumnOnly)
{
    // Row 2, away from the current cell and the selection: 0x10, '.', 0x7F, 0x81 (undefined in
    // 1252), 'A'.
    Bytes data(48, 0);
    const std::uint8_t row2[] = {0x10, '.', 0x7F, 0x81, 'A'};
    std::copy(std::begin(row2), std::end(row2), data.begin() + 16);
    openWithFirstSegment(data);
    grid->refresh();
    QImage drawn = grid->viewport()->grab().toImage();

    QImage dot = cellImage(drawn, grid->cellRect(2, 18));
    EXPECT_EQ(cellImage(drawn, grid->cellRect(2, 17)), dot) << "0x10";
    EXPECT_EQ(cellImage(drawn, grid->cellRect(2, 19)), dot) << "0x7F";
    EXPECT_EQ(cellImage(drawn, grid->cellRect(2, 20)), dot) << "0x81";
    EXPECT_NE(cellImage(drawn, grid->cellRect(2, 21)), dot) << "'A'";
    // The byte column shows the byte's value, not the dot.
    EXPECT_NE(cellImage(drawn, grid->cellRect(2, 1)), cellImage(drawn, grid->cellRect(2, 2)));
}

}  // namespace
}  // namespace quillet
