#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "search/qt/find_dialog.h"
#include "search/qt/replace_dialog.h"
#include "support/qt/layout_checks.h"

namespace quillet {
namespace {

CodePage cp1252()
{
    return *CodePage::byName("1252");
}

// Runs `person` inside the dialog's modal loop, as the person at the keyboard would act.
template <class Dialog, class Fields>
bool runWith(Dialog& dialog, Fields& fields, const std::function<void()>& person)
{
    QTimer::singleShot(0, &dialog, [&dialog, person] {
        person();
        // Whatever the person did, the loop must end for the test to go on.
        if (dialog.isVisible()) dialog.reject();
    });
    return dialog.run(fields);
}

TEST(FindDialog, EnterInTheTextClosesWithOkAndWritesTheFieldsBack)
{
    FindDialog dialog(cp1252());
    FindFields fields{u"41", PatternMode::HexData};
    bool ok = runWith(dialog, fields, [&] {
        EXPECT_EQ(dialog.textEdit->text(), "41");
        dialog.modeGroup.items[2]->setChecked(true);
        dialog.textEdit->end(false);
        dialog.textEdit->insert(QString::fromUtf8("\xC3\xA9"));  // é, 0xE9 in the code page
        QTest::keyClick(dialog.textEdit, Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(fields.text, u"41\xE9");
    EXPECT_EQ(fields.mode, PatternMode::TextUnicode);
}

TEST(FindDialog, MistypedHexWarnsAndKeepsTheDialogOpen)
{
    FindDialog dialog(cp1252());
    QStringList warnings;
    dialog.setWarningBox(
        [&](QWidget*, const QString& caption, const QString& text) { warnings.push_back(caption + ": " + text); });
    FindFields fields{u"41 4", PatternMode::HexData};
    bool ok = runWith(dialog, fields, [&] {
        QTest::keyClick(dialog.textEdit, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        dialog.textEdit->end(false);
        QTest::keyClicks(dialog.textEdit, "2");
        QTest::keyClick(dialog.textEdit, Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_TRUE(ok);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_EQ(warnings[0], "Warning: \"41 4\": character 4 (\"4\") is a hex digit without its pair; write each byte "
                           "as two hex digits, such as 4F 6B.");
    EXPECT_EQ(fields.text, u"41 42");
}

TEST(FindDialog, EscapeInTheTextCancelsButKeepsWhatWasTyped)
{
    FindDialog dialog(cp1252());
    FindFields fields;
    bool ok = runWith(dialog, fields, [&] {
        QTest::keyClicks(dialog.textEdit, "ab");
        QTest::keyClick(dialog.textEdit, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(fields.text, u"ab");
}

// Enter on a mode runs the search, as in the text; on the Cancel button it cancels.
TEST(FindDialog, EnterAnywhereRunsTheSearchAndEscapeCancels)
{
    FindDialog dialog(cp1252());
    FindFields fields{u"41", PatternMode::HexData};
    bool ok = runWith(dialog, fields, [&] {
        dialog.modeGroup.items[1]->setFocus();
        QTest::keyClick(dialog.modeGroup.items[1], Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_TRUE(ok);
    for (QWidget* control : std::vector<QWidget*>{dialog.modeGroup.items[0], dialog.cancelButton}) {
        ok = runWith(dialog, fields, [&] {
            control->setFocus();
            QTest::keyClick(control, control == dialog.cancelButton ? Qt::Key_Return : Qt::Key_Escape);
            EXPECT_FALSE(dialog.isVisible());
        });
        EXPECT_FALSE(ok);
    }
}

// Every label, mode and button but Cancel (Escape) has an access key of its own.
TEST(SearchDialogs, AccessKeysReachEveryControl)
{
    FindDialog find(cp1252());
    ReplaceDialog replace(cp1252());
    for (const QDialog* dialog : std::vector<const QDialog*>{&find, &replace}) {
        std::set<QChar> keys;
        for (const QWidget* control : dialog->findChildren<QWidget*>()) {
            QString text = test::shownText(control);
            if (!(qobject_cast<const QLabel*>(control) || qobject_cast<const QAbstractButton*>(control))) continue;
            if (text == QStringLiteral("Cancel")) continue;
            qsizetype amp = text.indexOf('&');
            ASSERT_GE(amp, 0) << text.toStdString() << " has no access key";
            EXPECT_TRUE(keys.insert(text.at(amp + 1).toUpper()).second) << text.toStdString();
        }
    }
    EXPECT_EQ(replace.lookForLabel->buddy(), replace.lookForEdit);
    EXPECT_EQ(replace.replaceWithLabel->buddy(), replace.replaceWithEdit);
}

// The controls in the order the Tab key visits them, starting at the first.
std::vector<QWidget*> tabOrder(const std::vector<QWidget*>& controls)
{
    std::vector<QWidget*> visited{controls.front()};
    for (QWidget* next = controls.front()->nextInFocusChain(); next != controls.front();
         next = next->nextInFocusChain())
        if (std::find(controls.begin(), controls.end(), next) != controls.end()) visited.push_back(next);
    return visited;
}

// Shows the dialog without its modal loop, so that its layout is done as on the screen.
void showLaidOut(QDialog& dialog)
{
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
}

// The dialogs are laid out anew for the fonts of the machine: at the design font they keep the
// design's sizes, with a larger font they grow so that every text still shows whole.
class SearchDialogFonts : public test::ScaledApplicationFont {};

TEST_P(SearchDialogFonts, FindDialogShowsEveryTextWholeInTheDesignArrangement)
{
    FindDialog dialog(cp1252());
    showLaidOut(dialog);
    EXPECT_EQ(dialog.windowTitle(), "Find");
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::Tool));
    EXPECT_EQ(dialog.modeGroup.box->title(), "Look for:");
    EXPECT_EQ(dialog.findButton->text(), "&Find");
    EXPECT_EQ(dialog.cancelButton->text(), "Cancel");
    test::expectLaidOutWhole(dialog);

    // The design's sizes are the least the dialog and its controls get, and it stays fixed.
    EXPECT_GE(dialog.width(), 294);
    EXPECT_GE(dialog.height(), 120);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_GE(dialog.textEdit->width(), 281);
    EXPECT_GE(dialog.modeGroup.box->width(), 161);
    EXPECT_GE(dialog.findButton->size().width(), 113);

    // The text across the top, the mode group under it, the buttons beside the group and level
    // with its foot.
    QRect text = dialog.textEdit->geometry();
    QRect group = dialog.modeGroup.box->geometry();
    QRect find = dialog.findButton->geometry();
    QRect cancel = dialog.cancelButton->geometry();
    EXPECT_LT(text.bottom(), group.top());
    EXPECT_EQ(text.left(), group.left());
    EXPECT_EQ(text.right(), cancel.right());
    EXPECT_LT(group.right(), find.left());
    EXPECT_LT(find.bottom(), cancel.top());
    EXPECT_EQ(cancel.bottom(), group.bottom());
    EXPECT_GT(find.top(), group.top());

    EXPECT_EQ(tabOrder({dialog.textEdit, dialog.modeGroup.items[0], dialog.modeGroup.items[1],
                        dialog.modeGroup.items[2], dialog.findButton, dialog.cancelButton}),
              (std::vector<QWidget*>{dialog.textEdit, dialog.modeGroup.items[0], dialog.modeGroup.items[1],
                                     dialog.modeGroup.items[2], dialog.findButton, dialog.cancelButton}));
}

TEST_P(SearchDialogFonts, ReplaceDialogShowsEveryTextWholeInTheDesignArrangement)
{
    ReplaceDialog dialog(cp1252());
    showLaidOut(dialog);
    EXPECT_EQ(dialog.windowTitle(), "Replace");
    EXPECT_EQ(dialog.lookForLabel->text(), "&Look for:");
    EXPECT_EQ(dialog.replaceWithLabel->text(), "Replace &with:");
    EXPECT_EQ(dialog.modeGroup.box->title(), "Type:");
    EXPECT_EQ(dialog.startGroup.box->title(), "Start from:");
    EXPECT_EQ(dialog.startGroup.items[0]->text(), "&Begin ");
    EXPECT_EQ(dialog.startGroup.items[1]->text(), "&Current pos");
    EXPECT_FALSE(dialog.replaceButton->autoDefault());
    EXPECT_FALSE(dialog.cancelButton->autoDefault());
    test::expectLaidOutWhole(dialog);

    EXPECT_GE(dialog.width(), 296);
    EXPECT_GE(dialog.height(), 207);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_GE(dialog.lookForEdit->width(), 209);
    EXPECT_GE(dialog.lookForEdit->x(), 80) << "the labels keep at least their design width";
    EXPECT_GE(dialog.startGroup.box->height(), 57);

    // Each label on the line of its text, left of it; the texts in one column; the mode group
    // over the start group; the buttons beside the start group, level with its foot.
    for (auto [label, edit] : {std::pair{dialog.lookForLabel, dialog.lookForEdit},
                               std::pair{dialog.replaceWithLabel, dialog.replaceWithEdit}}) {
        EXPECT_LT(label->geometry().right(), edit->x());
        EXPECT_NEAR(label->geometry().center().y(), edit->geometry().center().y(), 2);
    }
    EXPECT_EQ(dialog.lookForEdit->x(), dialog.replaceWithEdit->x());
    EXPECT_LT(dialog.lookForEdit->geometry().bottom(), dialog.replaceWithEdit->y());
    QRect mode = dialog.modeGroup.box->geometry();
    QRect start = dialog.startGroup.box->geometry();
    EXPECT_LT(dialog.replaceWithEdit->geometry().bottom(), mode.top());
    EXPECT_LT(mode.bottom(), start.top());
    EXPECT_EQ(mode.left(), start.left());
    EXPECT_LT(start.right(), dialog.replaceButton->x());
    EXPECT_LT(dialog.replaceButton->geometry().bottom(), dialog.cancelButton->y());
    EXPECT_EQ(dialog.cancelButton->geometry().bottom(), start.bottom());
    EXPECT_EQ(dialog.cancelButton->geometry().right(), dialog.lookForEdit->geometry().right());

    std::vector<QWidget*> order{dialog.lookForEdit,        dialog.replaceWithEdit,     dialog.modeGroup.items[0],
                                dialog.modeGroup.items[1], dialog.modeGroup.items[2],  dialog.replaceButton,
                                dialog.cancelButton,       dialog.startGroup.items[0], dialog.startGroup.items[1]};
    EXPECT_EQ(tabOrder(order), order);
}

INSTANTIATE_TEST_SUITE_P(AtTheApplicationFontAndLarger, SearchDialogFonts, ::testing::Values(1.0, 1.5, 2.0));

TEST(SearchDialogs, OpenCentredOnTheScreenAtEveryShow)
{
    FindDialog dialog(cp1252());
    FindFields fields;
    QRect area = QApplication::primaryScreen()->availableGeometry();
    for (int show = 0; show < 2; ++show) {
        runWith(dialog, fields, [&] {
            EXPECT_LE((dialog.geometry().center() - area.center()).manhattanLength(), 2) << "show " << show;
        });
    }
}

class ReplaceDialogTest : public ::testing::Test {
protected:
    ReplaceDialogTest()
    {
        dialog.setWarningBox([this](QWidget*, const QString& caption, const QString& text) {
            warnings.push_back(caption + ": " + text);
        });
    }
    ReplaceDialog dialog{cp1252()};
    QStringList warnings;
    ReplaceFields fields;
};

TEST_F(ReplaceDialogTest, EnterInTheReplacementChecksTheLengthsAndClosesWithOk)
{
    fields.lookFor = u"41 42";
    bool ok = runWith(dialog, fields, [&] {
        QTest::keyClicks(dialog.replaceWithEdit, "4344");  // the same two bytes, without the space
        dialog.startGroup.items[1]->setChecked(true);
        QTest::keyClick(dialog.replaceWithEdit, Qt::Key_Enter);
    });
    EXPECT_TRUE(ok);
    EXPECT_TRUE(warnings.isEmpty());
    EXPECT_EQ(fields.replaceWith, u"4344");
    EXPECT_EQ(fields.startFrom, ReplaceStart::CurrentPos);
}

TEST_F(ReplaceDialogTest, DifferentLengthsWarnAndKeepTheDialogOpen)
{
    fields.lookFor = u"41";
    fields.replaceWith = u"4142";
    bool ok = runWith(dialog, fields, [&] {
        QTest::keyClick(dialog.replaceWithEdit, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        dialog.replaceButton->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.replaceWithEdit->text(), "4142");
        QTest::keyClick(dialog.replaceWithEdit, Qt::Key_Backspace);
        QTest::keyClick(dialog.replaceWithEdit, Qt::Key_Backspace);
        QTest::keyClick(dialog.replaceWithEdit, Qt::Key_Return);
    });
    EXPECT_TRUE(ok);
    ASSERT_EQ(warnings.size(), 2);
    EXPECT_EQ(warnings[0], "Warning: Length texts not equal, resize not support for this operation!");
}

// A mistyped hex text is said, where it goes wrong, and the dialog stays for the person to mend it.
TEST_F(ReplaceDialogTest, MistypedHexWarnsAndKeepsTheDialogOpen)
{
    fields.lookFor = u"4X";
    fields.replaceWith = u"42";
    bool ok = runWith(dialog, fields, [&] {
        QTest::keyClick(dialog.replaceWithEdit, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        dialog.lookForEdit->setText(QStringLiteral("41"));
        dialog.replaceWithEdit->setText(QStringLiteral("4"));
        QTest::keyClick(dialog.replaceWithEdit, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        dialog.replaceWithEdit->end(false);
        QTest::keyClicks(dialog.replaceWithEdit, "2");
        QTest::keyClick(dialog.replaceWithEdit, Qt::Key_Return);
    });
    EXPECT_TRUE(ok);
    ASSERT_EQ(warnings.size(), 2);
    EXPECT_EQ(warnings[0], "Warning: \"4X\": character 2 (\"X\") is no hex digit; write each byte as two hex "
                           "digits, such as 4F 6B.");
    EXPECT_EQ(warnings[1], "Warning: \"4\": character 1 (\"4\") is a hex digit without its pair; write each byte as "
                           "two hex digits, such as 4F 6B.");
    EXPECT_EQ(fields.replaceWith, u"42");
}

TEST_F(ReplaceDialogTest, EnterInTheLookForTextOrOnAChoiceRunsItAndEscapeCancels)
{
    bool ok = runWith(dialog, fields, [&] {
        QTest::keyClicks(dialog.lookForEdit, "41");
        QTest::keyClick(dialog.lookForEdit, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible()) << "one byte against none";
        EXPECT_EQ(warnings.size(), 1);
        QTest::keyClicks(dialog.replaceWithEdit, "42");
        dialog.startGroup.items[1]->setFocus();
        QTest::keyClick(dialog.startGroup.items[1], Qt::Key_Enter);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(fields.lookFor, u"41");
    ok = runWith(dialog, fields, [&] {
        dialog.modeGroup.items[0]->setFocus();
        QTest::keyClick(dialog.modeGroup.items[0], Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_FALSE(ok);
}

TEST_F(ReplaceDialogTest, EscapeInTheReplacementCancels)
{
    bool ok = runWith(dialog, fields, [&] {
        QTest::keyClick(dialog.replaceWithEdit, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_FALSE(ok);
}

}  // namespace
}  // namespace quillet
