#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

#include "search/qt/find_dialog.h"
#include "search/qt/replace_dialog.h"

namespace quillet {
namespace {

CodePage cp1252()
{
    return *CodePage::byName("1252");
}

// Runs `person` inside the dialog's modal loop, as the person at the keyboard would act.
template <class Dialog, class Fields>
bool runWith(Dialog& dialog, Fields& fields, std::function<void()> person)
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

TEST(FindDialog, EnterAndEscapeOutsideTheTextDoNothing)
{
    FindDialog dialog(cp1252());
    FindFields fields;
    runWith(dialog, fields, [&] {
        dialog.findButton->setFocus();
        QTest::keyClick(dialog.findButton, Qt::Key_Return);
        QTest::keyClick(dialog.modeGroup.items[0], Qt::Key_Return);
        QTest::keyClick(dialog.modeGroup.items[0], Qt::Key_Escape);
        EXPECT_TRUE(dialog.isVisible());
    });
}

TEST(FindDialog, HasTheDesignLayout)
{
    FindDialog dialog(cp1252());
    EXPECT_EQ(dialog.windowTitle(), "Find");
    EXPECT_EQ(dialog.size(), QSize(294, 120));
    EXPECT_EQ(dialog.textEdit->geometry(), QRect(8, 8, 281, 21));
    EXPECT_EQ(dialog.modeGroup.box->title(), "Look for:");
    EXPECT_EQ(dialog.modeGroup.box->geometry(), QRect(8, 32, 161, 81));
    EXPECT_EQ(dialog.findButton->text(), "Find");
    EXPECT_EQ(dialog.findButton->geometry(), QRect(176, 56, 113, 25));
    EXPECT_EQ(dialog.cancelButton->text(), "Cancel");
    EXPECT_EQ(dialog.cancelButton->geometry(), QRect(176, 88, 113, 25));
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::Tool));
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
    fields.lookFor = u"414";
    bool ok = runWith(dialog, fields, [&] {
        QTest::keyClicks(dialog.replaceWithEdit, "425");
        dialog.startGroup.items[1]->setChecked(true);
        QTest::keyClick(dialog.replaceWithEdit, Qt::Key_Enter);
    });
    EXPECT_TRUE(ok);
    EXPECT_TRUE(warnings.isEmpty());
    EXPECT_EQ(fields.replaceWith, u"425");
    EXPECT_EQ(fields.startFrom, ReplaceStart::CurrentPos);
}

TEST_F(ReplaceDialogTest, DifferentCharacterCountsWarnAndKeepTheDialogOpen)
{
    fields.lookFor = u"41";
    fields.replaceWith = u"414";  // the same single byte, but not the same number of characters
    bool ok = runWith(dialog, fields, [&] {
        QTest::keyClick(dialog.replaceWithEdit, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        dialog.replaceButton->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.replaceWithEdit->text(), "414");
        QTest::keyClick(dialog.replaceWithEdit, Qt::Key_Backspace);
        QTest::keyClick(dialog.replaceWithEdit, Qt::Key_Return);
    });
    EXPECT_TRUE(ok);
    ASSERT_EQ(warnings.size(), 2);
    EXPECT_EQ(warnings[0], "Warning: Length texts not equal, resize not support for this operation!");
}

TEST_F(ReplaceDialogTest, EnterInTheLookForTextDoesNothingAndEscapeCancels)
{
    bool ok = runWith(dialog, fields, [&] {
        QTest::keyClicks(dialog.lookForEdit, "4");
        QTest::keyClick(dialog.lookForEdit, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(warnings.isEmpty());
        QTest::keyClick(dialog.lookForEdit, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(fields.lookFor, u"4");
}

TEST_F(ReplaceDialogTest, EscapeInTheReplacementCancels)
{
    bool ok = runWith(dialog, fields, [&] {
        QTest::keyClick(dialog.replaceWithEdit, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_FALSE(ok);
}

TEST_F(ReplaceDialogTest, HasTheDesignLayout)
{
    EXPECT_EQ(dialog.windowTitle(), "Replace");
    EXPECT_EQ(dialog.size(), QSize(296, 207));
    EXPECT_EQ(dialog.lookForLabel->text(), "Look for:");
    EXPECT_EQ(dialog.replaceWithLabel->text(), "Replace with:");
    EXPECT_EQ(dialog.lookForEdit->geometry(), QRect(80, 8, 209, 21));
    EXPECT_EQ(dialog.replaceWithEdit->geometry(), QRect(80, 32, 209, 21));
    EXPECT_EQ(dialog.modeGroup.box->title(), "Type:");
    EXPECT_EQ(dialog.modeGroup.box->geometry(), QRect(8, 56, 161, 81));
    EXPECT_EQ(dialog.replaceButton->geometry(), QRect(176, 144, 113, 25));
    EXPECT_EQ(dialog.cancelButton->geometry(), QRect(176, 176, 113, 25));
    EXPECT_EQ(dialog.startGroup.box->title(), "Start from:");
    EXPECT_EQ(dialog.startGroup.items[0]->text(), "Begin ");
    EXPECT_EQ(dialog.startGroup.items[1]->text(), "Current pos");
    EXPECT_FALSE(dialog.replaceButton->autoDefault());
    EXPECT_FALSE(dialog.cancelButton->autoDefault());
}

}  // namespace
}  // namespace quillet
