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
    TFormFind dialog(cp1252());
    FindFields fields{"41", PatternMode::HexData};
    bool ok = runWith(dialog, fields, [&] {
        EXPECT_EQ(dialog.Edit1->text(), "41");
        dialog.RadioGroup1.Items[2]->setChecked(true);
        dialog.Edit1->end(false);
        dialog.Edit1->insert(QString::fromUtf8("\xC3\xA9"));  // é, 0xE9 in the code page
        QTest::keyClick(dialog.Edit1, Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(fields.Text, "41\xE9");
    EXPECT_EQ(fields.Mode, PatternMode::TextUnicode);
}

TEST(FindDialog, EscapeInTheTextCancelsButKeepsWhatWasTyped)
{
    TFormFind dialog(cp1252());
    FindFields fields;
    bool ok = runWith(dialog, fields, [&] {
        QTest::keyClicks(dialog.Edit1, "ab");
        QTest::keyClick(dialog.Edit1, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(fields.Text, "ab");
}

TEST(FindDialog, EnterAndEscapeOutsideTheTextDoNothing)
{
    TFormFind dialog(cp1252());
    FindFields fields;
    runWith(dialog, fields, [&] {
        dialog.Button1->setFocus();
        QTest::keyClick(dialog.Button1, Qt::Key_Return);
        QTest::keyClick(dialog.RadioGroup1.Items[0], Qt::Key_Return);
        QTest::keyClick(dialog.RadioGroup1.Items[0], Qt::Key_Escape);
        EXPECT_TRUE(dialog.isVisible());
    });
}

TEST(FindDialog, HasTheDesignLayout)
{
    TFormFind dialog(cp1252());
    EXPECT_EQ(dialog.windowTitle(), "Find");
    EXPECT_EQ(dialog.size(), QSize(294, 120));
    EXPECT_EQ(dialog.Edit1->geometry(), QRect(8, 8, 281, 21));
    EXPECT_EQ(dialog.RadioGroup1.Box->title(), "Look for:");
    EXPECT_EQ(dialog.RadioGroup1.Box->geometry(), QRect(8, 32, 161, 81));
    EXPECT_EQ(dialog.Button1->text(), "Find");
    EXPECT_EQ(dialog.Button1->geometry(), QRect(176, 56, 113, 25));
    EXPECT_EQ(dialog.Button2->text(), "Cancel");
    EXPECT_EQ(dialog.Button2->geometry(), QRect(176, 88, 113, 25));
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
    TFormReplace dialog{cp1252()};
    QStringList warnings;
    ReplaceFields fields;
};

TEST_F(ReplaceDialogTest, EnterInTheReplacementChecksTheLengthsAndClosesWithOk)
{
    fields.LookFor = "414";
    bool ok = runWith(dialog, fields, [&] {
        QTest::keyClicks(dialog.Edit2, "425");
        dialog.RadioGroup2.Items[1]->setChecked(true);
        QTest::keyClick(dialog.Edit2, Qt::Key_Enter);
    });
    EXPECT_TRUE(ok);
    EXPECT_TRUE(warnings.isEmpty());
    EXPECT_EQ(fields.ReplaceWith, "425");
    EXPECT_EQ(fields.StartFrom, ReplaceStart::CurrentPos);
}

TEST_F(ReplaceDialogTest, DifferentCharacterCountsWarnAndKeepTheDialogOpen)
{
    fields.LookFor = "41";
    fields.ReplaceWith = "414";  // the same single byte, but not the same number of characters
    bool ok = runWith(dialog, fields, [&] {
        QTest::keyClick(dialog.Edit2, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        dialog.Button1->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.Edit2->text(), "414");
        QTest::keyClick(dialog.Edit2, Qt::Key_Backspace);
        QTest::keyClick(dialog.Edit2, Qt::Key_Return);
    });
    EXPECT_TRUE(ok);
    ASSERT_EQ(warnings.size(), 2);
    EXPECT_EQ(warnings[0], "Warning: Length texts not equal, resize not support for this operation!");
}

TEST_F(ReplaceDialogTest, EnterInTheLookForTextDoesNothingAndEscapeCancels)
{
    bool ok = runWith(dialog, fields, [&] {
        QTest::keyClicks(dialog.Edit1, "4");
        QTest::keyClick(dialog.Edit1, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(warnings.isEmpty());
        QTest::keyClick(dialog.Edit1, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(fields.LookFor, "4");
}

TEST_F(ReplaceDialogTest, EscapeInTheReplacementCancels)
{
    bool ok = runWith(dialog, fields, [&] {
        QTest::keyClick(dialog.Edit2, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_FALSE(ok);
}

TEST_F(ReplaceDialogTest, HasTheDesignLayout)
{
    EXPECT_EQ(dialog.windowTitle(), "Replace");
    EXPECT_EQ(dialog.size(), QSize(296, 207));
    EXPECT_EQ(dialog.Label1->text(), "Look for:");
    EXPECT_EQ(dialog.Label2->text(), "Replace with:");
    EXPECT_EQ(dialog.Edit1->geometry(), QRect(80, 8, 209, 21));
    EXPECT_EQ(dialog.Edit2->geometry(), QRect(80, 32, 209, 21));
    EXPECT_EQ(dialog.RadioGroup1.Box->title(), "Type:");
    EXPECT_EQ(dialog.RadioGroup1.Box->geometry(), QRect(8, 56, 161, 81));
    EXPECT_EQ(dialog.Button1->geometry(), QRect(176, 144, 113, 25));
    EXPECT_EQ(dialog.Button2->geometry(), QRect(176, 176, 113, 25));
    EXPECT_EQ(dialog.RadioGroup2.Box->title(), "Start from:");
    EXPECT_EQ(dialog.RadioGroup2.Items[0]->text(), "Begin ");
    EXPECT_EQ(dialog.RadioGroup2.Items[1]->text(), "Current pos");
    EXPECT_FALSE(dialog.Button1->autoDefault());
    EXPECT_FALSE(dialog.Button2->autoDefault());
}

}  // namespace
}  // namespace quillet
