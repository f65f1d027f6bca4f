#include "app/qt/qt_prompts.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace quillet {
namespace {

// Looks at the file dialog once it runs, then cancels it.
void whenTheFileDialogRuns(const std::function<void(QFileDialog&)>& look)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, look] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        poll->stop();
        poll->deleteLater();
        look(*dialog);
        dialog->reject();
    });
    poll->start(10);
}

TEST(QtPrompts, TheOpenDialogStartsInTheFolderItIsGiven)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QtPrompts prompts;
    QString shownFolder;
    whenTheFileDialogRuns([&](QFileDialog& dialog) { shownFolder = dialog.directory().absolutePath(); });
    EXPECT_EQ(prompts.askOpenFileName(QFile::encodeName(folder.path()).toStdString()), std::nullopt);
    EXPECT_EQ(shownFolder, folder.path());
}

// Answers the message box once it runs: `answer` gets it and closes it.
void whenTheMessageBoxRuns(const std::function<void(QMessageBox&)>& answer)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        poll->stop();
        poll->deleteLater();
        answer(*box);
    });
    poll->start(10);
}

TEST(QtPrompts, AChangedFileIsReloadedOnlyByItsButtonEnterAndEscapeKeepEditing)
{
    QtPrompts prompts;
    QStringList buttons;
    whenTheMessageBoxRuns([&](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("File changed on disk"));
        EXPECT_EQ(box.text(), QStringLiteral("raw.bin was changed on disk by another program."));
        for (QAbstractButton* button : box.buttons()) buttons << button->text();
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_FALSE(prompts.askReloadChangedFile("raw.bin was changed on disk by another program."));
    EXPECT_EQ(buttons.size(), 2);
    EXPECT_TRUE(buttons.contains(QStringLiteral("Reload")));
    EXPECT_TRUE(buttons.contains(QStringLiteral("Keep editing")));

    whenTheMessageBoxRuns([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); });
    EXPECT_FALSE(prompts.askReloadChangedFile("changed"));
    whenTheMessageBoxRuns([](QMessageBox& box) {
        for (QAbstractButton* button : box.buttons())
            if (button->text() == QStringLiteral("Reload")) button->click();
    });
    EXPECT_TRUE(prompts.askReloadChangedFile("changed"));
}

}  // namespace
}  // namespace quillet
