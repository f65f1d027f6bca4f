#include "app/qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/editor.h"
#include "support/scripted_prompts.h"
#include "views/qt/hex_grid.h"
#include "views/qt/line_list.h"

namespace quillet {
namespace {

const std::string samplePath = std::string(QUILLET_EXAMPLES_DIR) + "/sample.rsc";

// The main window on the sample file, with scripted prompts and a placement file of its own.
class MainWindowTest : public ::testing::Test {
protected:
    void showWindow(std::optional<std::string> firstArgument)
    {
        placementPath = folder.filePath(QStringLiteral("placement.ini"));
        window = std::make_unique<MainWindow>(editor, std::move(firstArgument), placementPath);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QApplication::processEvents();
    }

    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    std::optional<std::size_t> currentSegment() const { return editor.state().selectedSegment; }

    test::ScriptedPrompts prompts;
    Editor editor{prompts, *CodePage::byName("1252")};
    QTemporaryDir folder;
    QString placementPath;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, FirstArgumentLoadsOnTheFirstActivationOnly)
{
    showWindow(samplePath);
    ASSERT_EQ(editor.document().segments.size(), 10u);
    EXPECT_EQ(window->segmentList()->rowCount(), 10);
    EXPECT_EQ(window->indexList()->rowCount(), 10);
    EXPECT_EQ(window->fileNamePanel()->text().toStdString(), samplePath);
    EXPECT_EQ(window->segmentList()->currentRow(), 0);

    // An edit after the load survives the window being activated and shown again.
    editor.selectSegment(2);
    window->hide();
    window->show();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(window.get(), &activate);
    QApplication::processEvents();
    EXPECT_EQ(currentSegment(), 2u);
}

TEST_F(MainWindowTest, StartsEmptyWithoutAFileOrWithAMissingOne)
{
    showWindow(folder.filePath(QStringLiteral("no-such-file.rsc")).toStdString());
    EXPECT_EQ(window->segmentList()->rowCount(), 0);
    EXPECT_EQ(window->indexList()->rowCount(), 0);
    EXPECT_FALSE(window->textStrip()->isVisible());
    EXPECT_EQ(window->textLine()->text(), QString());
}

TEST_F(MainWindowTest, OpensWideEnoughForWholeGridRows)
{
    showWindow(samplePath);
    EXPECT_GE(window->width(), 817);
    EXPECT_EQ(window->height(), 544);
    HexGrid* grid = window->hexGrid();
    EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
    EXPECT_LE(grid->cellRect(1, 32).right(), grid->viewport()->width() - 1) << "the last character cell shows whole";
}

TEST_F(MainWindowTest, TheTextLineTakesTheStripsWidthWhenTheWindowGrows)
{
    showWindow(samplePath);
    editor.selectSegment(5);
    window->refresh();
    ASSERT_TRUE(window->textStrip()->isVisible());
    QLineEdit* edit = window->textLine();
    EXPECT_GE(edit->width(), 547);
    EXPECT_EQ(edit->minimumWidth(), 547);

    window->resize(window->width() + 300, window->height());
    QApplication::processEvents();
    QWidget* strip = window->textStrip();
    EXPECT_GE(edit->width(), 547 + 300);
    EXPECT_GE(edit->geometry().right(), strip->width() - 4) << "the line reaches the strip's right end";
}

TEST_F(MainWindowTest, MenuShortcutsReachTheirCommands)
{
    showWindow(std::nullopt);
    prompts.openNames.push_back(samplePath);
    key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(editor.document().segments.size(), 10u);
    EXPECT_EQ(currentSegment(), 0u);

    key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(currentSegment(), 1u);
    EXPECT_EQ(window->segmentList()->currentRow(), 1);
    key(Qt::Key_N, Qt::ControlModifier);
    key(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(currentSegment(), 1u);

    editor.findFields() = {u"Hello", PatternMode::TextUnicode};
    key(Qt::Key_F3);
    EXPECT_EQ(currentSegment(), 5u);

    key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(prompts.findDialogShown, 1);
    key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(prompts.replaceDialogShown, 1);

    // "Save as" runs the save command.
    QString saved = folder.filePath(QStringLiteral("saved.rsc"));
    prompts.saveNames.push_back(saved.toStdString());
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(prompts.saveNames.empty());
    EXPECT_TRUE(QFileInfo::exists(saved));
}

QAction* actionNamed(const QList<QAction*>& actions, const QString& text)
{
    for (QAction* action : actions)
        if (action->text() == text) return action;
    return nullptr;
}

TEST_F(MainWindowTest, PopupBlockItemsStepSegmentsAndAboutShowsTheBox)
{
    showWindow(samplePath);
    QMenu* popup = window->gridPopup();
    ASSERT_NE(actionNamed(popup->actions(), "Next unicode block"), nullptr);
    actionNamed(popup->actions(), "Next unicode block")->trigger();
    actionNamed(popup->actions(), "Next unicode block")->trigger();
    EXPECT_EQ(currentSegment(), 2u);
    actionNamed(popup->actions(), "Previous unicode block")->trigger();
    EXPECT_EQ(currentSegment(), 1u);
    EXPECT_EQ(window->segmentList()->currentRow(), 1);

    QAction* about = actionNamed(window->menuBar()->actions(), "About");
    ASSERT_NE(about, nullptr);
    about->trigger();
    EXPECT_EQ(prompts.aboutShown, 1);
}

TEST_F(MainWindowTest, ClickingAListLineSelectsItsSegmentAndMovesTheIndexList)
{
    showWindow(samplePath);
    LineList* list = window->segmentList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, 4 * LineList::LineHeight + 8));
    EXPECT_EQ(currentSegment(), 4u);
    EXPECT_EQ(window->indexList()->currentRow(), 4);

    // The down arrow in the list moves on like a click on the next line.
    list->setFocus();
    key(Qt::Key_Down);
    EXPECT_EQ(currentSegment(), 5u);
    EXPECT_EQ(window->textLine()->text(), QStringLiteral("Hello, world!"));
    EXPECT_TRUE(window->textStrip()->isVisible());

    QTest::mouseClick(window->indexList()->viewport(), Qt::LeftButton, {},
                      QPoint(20, 2 * LineList::LineHeight + 8));
    EXPECT_EQ(currentSegment(), 2u);
}

TEST_F(MainWindowTest, EditedLineIsAppliedByEnterWithAnyModifier)
{
    showWindow(samplePath);
    editor.selectSegment(5);
    window->refresh();
    ASSERT_TRUE(window->textStrip()->isVisible());
    QLineEdit* edit = window->textLine();
    edit->setFocus();
    edit->end(false);
    QTest::keyClicks(edit, "!!");
    EXPECT_EQ(editor.state().textLine, u"Hello, world!!!");
    EXPECT_EQ(window->messagePanel()->text(), QStringLiteral("Already entered 15 char(s)"));
    key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(editor.document().segmentLine(5), "006(5) Hello, world!!!");
    EXPECT_EQ(editor.document().segments[5].size(), 30);
}

TEST_F(MainWindowTest, TypingStopsAtTheLimitButProgramTextMayBeLonger)
{
    showWindow(samplePath);
    editor.selectSegment(5);
    editor.setTextLine(std::u16string(130, u'x'));
    window->refresh();
    QLineEdit* edit = window->textLine();
    ASSERT_EQ(edit->text().size(), 130);
    edit->setFocus();
    edit->end(false);
    QTest::keyClicks(edit, "y");
    EXPECT_EQ(edit->text().size(), 130);
    key(Qt::Key_Backspace);
    EXPECT_EQ(editor.state().textLine, std::u16string(129, u'x'));
}

TEST_F(MainWindowTest, CtrlCCopiesHexOnlyFromTheGrid)
{
    showWindow(samplePath);
    // The first segment's bytes 51 52 45 53 lie in byte cells 5 to 8 of row 1.
    editor.gridMousePress(MouseButton::Left, {1, 5});
    editor.gridMouseRelease(MouseButton::Left, {1, 8}, true);

    window->segmentList()->setFocus();
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(prompts.clipboard.has_value());

    window->hexGrid()->setFocus();
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(prompts.clipboard, "51524553");
}

}  // namespace
}  // namespace quillet
