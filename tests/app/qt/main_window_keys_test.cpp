// The window reached by the keyboard: shortcuts that win over the edits' own bindings, undo that
// belongs to the document, access keys, Delete, Quit, recent files, drops and pastes.
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include <set>

#include "support/qt/main_window_fixture.h"
#include "views/qt/hex_grid.h"
#include "views/qt/line_list.h"

namespace quillet {
namespace {

using test::MainWindowTest;
using test::SamplePath;

std::string segmentLine(const Editor& editor, std::size_t s)
{
    return editor.document().segmentLine(s);
}

class MainWindowKeys : public MainWindowTest {
protected:
    // The block "Hello, world!" selected, the focus at the end of its text line.
    QLineEdit* focusTheTextLine()
    {
        showWindow(SamplePath);
        editor.selectSegment(5);
        window->refresh();
        QLineEdit* line = window->textLine();
        line->setFocus();
        line->end(false);
        return line;
    }
};

TEST_F(MainWindowKeys, UndoInTheTextLineIsTheDocumentsUnlessTheLineHoldsTyping)
{
    QLineEdit* line = focusTheTextLine();
    QTest::keyClicks(line, "!");
    key(Qt::Key_Return);
    ASSERT_EQ(segmentLine(editor, 5), "006(5) Hello, world!!");

    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(segmentLine(editor, 5), "006(5) Hello, world!") << "after Enter, Ctrl+Z undoes the document";
    EXPECT_EQ(line->text(), QStringLiteral("Hello, world!"));
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(segmentLine(editor, 5), "006(5) Hello, world!!");
    EXPECT_EQ(line->text(), QStringLiteral("Hello, world!!"));

    QTest::keyClicks(line, "?");
    EXPECT_TRUE(window->isWindowModified());
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(line->text(), QStringLiteral("Hello, world!!")) << "typing is undone in the line";
    EXPECT_EQ(segmentLine(editor, 5), "006(5) Hello, world!!");
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(segmentLine(editor, 5), "006(5) Hello, world!") << "then the document";
    EXPECT_EQ(line->text(), QStringLiteral("Hello, world!"));
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(line->text(), QStringLiteral("Hello, world!")) << "nothing left to undo, in the line either";
}

// Qt's line edits empty themselves on Ctrl+U under X11; the window's Force unicode wins.
TEST_F(MainWindowKeys, CtrlUIsForceUnicodeWhereverTheFocusIs)
{
    QLineEdit* line = focusTheTextLine();
    key(Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(line->text(), QStringLiteral("Hello, world!"));

    editor.selectSegment(0);
    window->refresh();
    window->hexGrid()->setFocus();
    key(Qt::Key_U, Qt::ControlModifier);
    ASSERT_TRUE(editor.state().forceMode);
    EXPECT_EQ(QApplication::focusWidget(), line);
    QString forced = line->text();
    EXPECT_FALSE(forced.isEmpty());
    key(Qt::Key_U, Qt::ControlModifier);
    EXPECT_TRUE(editor.state().forceMode) << "forced again from the line";
    EXPECT_EQ(line->text(), forced);
}

TEST_F(MainWindowKeys, DeleteOnTheSegmentListDeletesAfterItsQuestion)
{
    showWindow(SamplePath);
    LineList* list = window->segmentList();
    list->setFocus();
    key(Qt::Key_Down);
    prompts.answers = {true};
    key(Qt::Key_Delete);
    ASSERT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(prompts.questions[0].text, "File may be corrupted, are you sure?");
    EXPECT_EQ(editor.document().segments.size(), 9u);

    window->hexGrid()->setFocus();
    key(Qt::Key_Delete);
    EXPECT_EQ(prompts.questions.size(), 1u) << "Delete elsewhere is not the segment's";
}

// Every item of every menu has an access key, and no two items of one menu share one.
TEST_F(MainWindowKeys, EveryMenuItemHasAnAccessKeyOfItsOwn)
{
    showWindow(SamplePath);
    QList<QMenu*> menus{window->gridPopup()};
    std::set<QChar> menuKeys;
    for (QAction* title : window->menuBar()->actions()) {
        QKeySequence mnemonic = QKeySequence::mnemonic(title->text());
        EXPECT_FALSE(mnemonic.isEmpty()) << title->text().toStdString();
        EXPECT_TRUE(menuKeys.insert(title->text().at(title->text().indexOf('&') + 1).toUpper()).second);
        if (title->menu()) menus << title->menu();
    }
    for (QMenu* menu : menus) {
        std::set<QChar> keys;
        for (QAction* item : menu->actions()) {
            if (item->isSeparator()) continue;
            qsizetype amp = item->text().indexOf('&');
            ASSERT_GE(amp, 0) << item->text().toStdString() << " has no access key";
            EXPECT_TRUE(keys.insert(item->text().at(amp + 1).toUpper()).second)
                << item->text().toStdString() << " shares its access key";
        }
    }
}

TEST_F(MainWindowKeys, QuitGoesThroughTheUnsavedChangesGuard)
{
    QLineEdit* line = focusTheTextLine();
    QTest::keyClicks(line, "!");
    key(Qt::Key_Return);
    prompts.saveChoices = {SaveChoice::Cancel};
    key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(prompts.saveChangesAsked.size(), 1u);
    prompts.saveChoices = {SaveChoice::Discard};
    key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible());
}

// The File menu offers what was opened, and the settings file keeps it for the next run.
TEST_F(MainWindowKeys, RecentFilesAreOfferedAndKept)
{
    showWindow(std::nullopt);
    EXPECT_FALSE(window->recentFilesMenu()->isEnabled());
    prompts.openNames.push_back(SamplePath);
    key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(window->recentFilesMenu()->actions().size(), 1);
    EXPECT_EQ(window->recentFilesMenu()->actions()[0]->text(),
              QStringLiteral("&1 ") + QString::fromStdString(SamplePath));

    window.reset();
    Editor second{prompts, *CodePage::byName("1252")};
    MainWindow again(second, std::nullopt, placementPath);
    ASSERT_EQ(again.recentFilesMenu()->actions().size(), 1);
    again.recentFilesMenu()->actions()[0]->trigger();
    EXPECT_EQ(second.documentName(), "sample.rsc");
}

// A dropped file opens as Open would: over unsaved work only after the question.
TEST_F(MainWindowKeys, AFileDroppedOnTheWindowOpensThroughTheUnsavedWorkGuard)
{
    showWindow(SamplePath);
    QString other = folder.filePath(QStringLiteral("other.rsc"));
    ASSERT_TRUE(QFile::copy(QString::fromStdString(SamplePath), other));
    window->hexGrid()->setFocus();
    editor.gridMoveCurrent({1, 5});
    window->refresh();
    QTest::keyClicks(window->hexGrid(), "7A");
    ASSERT_TRUE(editor.isModified());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(other)});
    QPoint centre = window->rect().center();
    auto dropIt = [&] {
        QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
    };
    prompts.saveChoices = {SaveChoice::Cancel};
    dropIt();
    EXPECT_EQ(prompts.saveChangesAsked.size(), 1u);
    EXPECT_EQ(editor.documentName(), "sample.rsc") << "Cancel keeps the document";
    prompts.saveChoices = {SaveChoice::Discard};
    dropIt();
    EXPECT_EQ(editor.documentName(), "other.rsc");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("other.rsc[*] - Quillet by Dovrel"));
    EXPECT_FALSE(window->isWindowModified());
}

TEST_F(MainWindowKeys, APasteOverTheLimitIsCutToItWithAWord)
{
    QLineEdit* line = focusTheTextLine();
    QApplication::clipboard()->setText(QString(200, QLatin1Char('y')));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(line->text(), QStringLiteral("Hello, world!") + QString(127 - 13, QLatin1Char('y')));
    EXPECT_EQ(window->messagePanel()->text(),
              QStringLiteral("The paste was cut to the line's limit of 127 characters. Already entered 127 char(s)"));
    QTest::keyClicks(line, "z");
    EXPECT_EQ(line->text().size(), 127) << "typing still stops at the limit";
}

}  // namespace
}  // namespace quillet
