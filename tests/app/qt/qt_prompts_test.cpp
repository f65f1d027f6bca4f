#include "app/qt/qt_prompts.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
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

}  // namespace
}  // namespace quillet
