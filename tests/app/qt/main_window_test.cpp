#include "app/qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "support/qt/main_window_fixture.h"
#include "views/qt/hex_grid.h"
#include "views/qt/line_list.h"

namespace quillet {
namespace {

using test::actionNamed;
using test::MainWindowTest;
using test::menuNamed;
using test::SamplePath;

TEST_F(MainWindowTest, FirstArgumentLoadsOnTheFirstActivationOnly)
{
    showWindow(SamplePath);
    ASSERT_EQ(editor.document().segments.size(), 10u);
    EXPECT_EQ(window->segmentList()->rowCount(), 10);
    EXPECT_EQ(window->indexList()->rowCount(), 10);
    EXPECT_EQ(window->fileNamePanel()->text(), QStringLiteral("sample.rsc"));
    EXPECT_EQ(window->fileNamePanel()->toolTip().toStdString(), SamplePath);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("sample.rsc[*] - Quillet by Dovrel"));
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

// The tests' screen is 1600 x 1000: at scale 1 the window opens at its design size, wide enough
// for whole grid rows; at scale 2 (800 x 500) it is shrunk onto the screen, and the grid scrolls
// sideways.
TEST_F(MainWindowTest, OpensWideEnoughForWholeGridRowsWhereTheScreenHasRoom)
{
    showWindow(SamplePath);
    QRect screen = window->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window->frameGeometry())) << "the window lies wholly on its screen";
    if (screen.width() < 900) return;
    EXPECT_GE(window->width(), 817);
    EXPECT_EQ(window->height(), 544);
    HexGrid* grid = window->hexGrid();
    EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
    EXPECT_LE(grid->cellRect(1, 32).right(), grid->viewport()->width() - 1) << "the last character cell shows whole";
}

TEST_F(MainWindowTest, TheTextLineTakesTheStripsWidthWhenTheWindowGrows)
{
    showWindow(SamplePath);
    editor.selectSegment(5);
    window->refresh();
    ASSERT_TRUE(window->textStrip()->isVisible());
    QLineEdit* edit = window->textLine();
    if (window->width() >= 817) {
        EXPECT_GE(edit->width(), 547) << "the design width, where the screen has room";
    }
    EXPECT_LT(edit->minimumWidth(), 547) << "a small screen may take some of it";

    int width = window->width();
    window->resize(width - 100, window->height());
    QApplication::processEvents();
    int narrow = edit->width();
    window->resize(width - 40, window->height());
    QApplication::processEvents();
    QWidget* strip = window->textStrip();
    EXPECT_GE(edit->width(), narrow + 60);
    EXPECT_GE(edit->geometry().right(), strip->width() - 4) << "the line reaches the strip's right end";
}

TEST_F(MainWindowTest, MenuShortcutsReachTheirCommands)
{
    showWindow(std::nullopt);
    prompts.openNames.push_back(SamplePath);
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

TEST_F(MainWindowTest, PopupBlockItemsStepSegmentsAndAboutShowsTheBox)
{
    showWindow(SamplePath);
    QMenu* popup = window->gridPopup();
    ASSERT_NE(actionNamed(popup->actions(), "Ne&xt unicode block"), nullptr);
    actionNamed(popup->actions(), "Ne&xt unicode block")->trigger();
    actionNamed(popup->actions(), "Ne&xt unicode block")->trigger();
    EXPECT_EQ(currentSegment(), 2u);
    actionNamed(popup->actions(), "&Previous unicode block")->trigger();
    EXPECT_EQ(currentSegment(), 1u);
    EXPECT_EQ(window->segmentList()->currentRow(), 1);

    QAction* about = actionNamed(window->menuBar()->actions(), "&About");
    ASSERT_NE(about, nullptr);
    about->trigger();
    EXPECT_EQ(prompts.aboutShown, 1);
}

TEST_F(MainWindowTest, ClickingAListLineSelectsItsSegmentAndMovesTheIndexList)
{
    showWindow(SamplePath);
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

    QTest::mouseClick(window->indexList()->viewport(), Qt::LeftButton, {}, QPoint(20, 2 * LineList::LineHeight + 8));
    EXPECT_EQ(currentSegment(), 2u);
}

TEST_F(MainWindowTest, EditedLineIsAppliedByEnterWithAnyModifier)
{
    showWindow(SamplePath);
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
    showWindow(SamplePath);
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
    showWindow(SamplePath);
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

QStringList textsOf(const QList<QAction*>& actions)
{
    QStringList texts;
    for (QAction* action : actions)
        if (!action->isSeparator()) texts << action->text();
    return texts;
}

// Undo and Redo follow the design's items, in the Edit menu and the grid's popup, enabled only
// when there is something to undo or redo; the title carries a "*" while the file is changed.
TEST_F(MainWindowTest, UndoAndRedoItemsTheirShortcutsAndTheModifiedMark)
{
    showWindow(SamplePath);
    QMenu* edit = menuNamed(*window, QStringLiteral("&Edit"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(textsOf(edit->actions()),
              (QStringList{"&Find", "Find &next", "&Replace", "Force uni&code", "&Previous segment", "Ne&xt segment",
                           "&Delete segment", "&Undo", "R&edo", "Read segments a&gain"}));
    EXPECT_EQ(textsOf(menuNamed(*window, QStringLiteral("&File"))->actions()),
              (QStringList{"&Open", "Open &recent", "Save &as", "&Export texts...", "&Import texts...", "&Quit"}));
    EXPECT_EQ(textsOf(window->gridPopup()->actions()).mid(5), (QStringList{"&Undo", "R&edo"}));
    QAction* undo = actionNamed(edit->actions(), "&Undo");
    QAction* redo = actionNamed(edit->actions(), "R&edo");
    EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(redo->shortcuts(), (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_FALSE(window->isWindowModified());

    // A byte typed in the grid, then undone and redone with the keys.
    window->hexGrid()->setFocus();
    editor.gridMoveCurrent({1, 5});
    window->refresh();
    QTest::keyClicks(window->hexGrid(), "7A");
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("sample.rsc[*] - Quillet by Dovrel"));
    std::uint8_t typed = editor.document().segments[0].data[0];
    EXPECT_EQ(typed, 0x7A);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(editor.document().segments[0].data[0], 0x7A);
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_TRUE(redo->isEnabled());
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor.document().segments[0].data[0], 0x7A);
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(editor.document().segments[0].data[0], 0x7A);
}

// File > Import texts applies the file and says in the status bar what it applied.
TEST_F(MainWindowTest, ImportTextsShowsItsCountsInTheStatusBar)
{
    showWindow(SamplePath);
    QString po = folder.filePath(QStringLiteral("de.po"));
    QFile file(po);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("msgid \"Hello, world!\"\nmsgstr \"Hallo, Welt!\"\n\n"
               "msgid \"Find data\"\nmsgstr \"\"\n\n"
               "msgid \"Gone\"\nmsgstr \"Weg\"\n");
    file.close();
    prompts.textsNames.push_back(po.toStdString());
    actionNamed(menuNamed(*window, QStringLiteral("&File"))->actions(), "&Import texts...")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(window->messagePanel()->text(), QStringLiteral("de.po: 1 applied, 1 untranslated, 0 fuzzy, 1 not found"));
    EXPECT_EQ(editor.document().segmentLine(5), "006(5) Hallo, Welt!");
    EXPECT_TRUE(window->isWindowModified());
}

TEST_F(MainWindowTest, ClosingAModifiedDocumentAsksAndCancelKeepsTheWindowOpen)
{
    showWindow(SamplePath);
    editor.selectSegment(5);
    editor.textLineEdited(u"Changed");
    editor.applyTextLine();
    window->refresh();

    prompts.saveChoices = {SaveChoice::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(prompts.saveChangesAsked, std::vector<std::string>{"Save changes to sample.rsc?"});

    prompts.saveChoices = {SaveChoice::Discard};
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace quillet
