#include "app/qt/qt_prompts.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace quillet {
namespace {

// Acts on the modal dialog, a Dialog, once it runs; `act` closes it.
template <typename Dialog>
void whenTheDialogRuns(const std::function<void(Dialog&)>& act)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        poll->stop();
        poll->deleteLater();
        act(*dialog);
    });
    poll->start(10);
}

TEST(QtPrompts, TheOpenDialogStartsInTheFolderItIsGiven)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QtPrompts prompts;
    QString shownFolder;
    whenTheDialogRuns<QFileDialog>([&](QFileDialog& dialog) {
        shownFolder = dialog.directory().absolutePath();
        dialog.reject();
    });
    EXPECT_EQ(prompts.askOpenFileName(QFile::encodeName(folder.path()).toStdString()), std::nullopt);
    EXPECT_EQ(shownFolder, folder.path());
}

TEST(QtPrompts, TheTextsDialogOffersTheKindsItIsGivenAndTellsWhichWasChosen)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QtPrompts prompts;
    const std::vector<FileKind> kinds = {{"gettext PO files", {".po", ".pot"}}, {"Tab-separated texts", {".txt"}}};
    QStringList filters;
    std::string typed = QFile::encodeName(folder.filePath(QStringLiteral("typed"))).toStdString();
    for (int filter : {0, 1, 2}) {
        whenTheDialogRuns<QFileDialog>([&filters, &folder, filter](QFileDialog& dialog) {
            filters = dialog.nameFilters();
            dialog.selectNameFilter(filters.value(filter));
            dialog.setDirectory(folder.path());
            auto* nameEdit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!nameEdit) {
                ADD_FAILURE() << "the dialog has no file name field";
                dialog.reject();
                return;
            }
            QTest::keyClicks(nameEdit, QStringLiteral("typed"));
            QTest::keyClick(nameEdit, Qt::Key_Return);
        });
        std::optional<ChosenFile> chosen = prompts.askTextsFileName(TextsFileUse::Export, "", kinds);
        ASSERT_TRUE(chosen) << filter;
        EXPECT_EQ(chosen->name, typed);
        EXPECT_EQ(chosen->kind, filter < 2 ? std::optional<std::size_t>(filter) : std::nullopt);
    }
    EXPECT_EQ(filters, (QStringList{QStringLiteral("gettext PO files (*.po *.pot)"),
                                    QStringLiteral("Tab-separated texts (*.txt)"), QStringLiteral("All files (*)")}));
}

TEST(QtPrompts, AChangedFileIsReloadedOnlyByItsButtonEnterAndEscapeKeepEditing)
{
    QtPrompts prompts;
    QStringList buttons;
    whenTheDialogRuns<QMessageBox>([&](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("File changed on disk"));
        EXPECT_EQ(box.text(), QStringLiteral("raw.bin was changed on disk by another program."));
        for (QAbstractButton* button : box.buttons()) buttons << button->text();
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_FALSE(prompts.askReloadChangedFile("raw.bin was changed on disk by another program."));
    EXPECT_EQ(buttons.size(), 2);
    EXPECT_TRUE(buttons.contains(QStringLiteral("Reload")));
    EXPECT_TRUE(buttons.contains(QStringLiteral("Keep editing")));

    whenTheDialogRuns<QMessageBox>([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); });
    EXPECT_FALSE(prompts.askReloadChangedFile("changed"));
    whenTheDialogRuns<QMessageBox>([](QMessageBox& box) {
        for (QAbstractButton* button : box.buttons())
            if (button->text() == QStringLiteral("Reload")) button->click();
    });
    EXPECT_TRUE(prompts.askReloadChangedFile("changed"));
}

}  // namespace
}  // namespace quillet
