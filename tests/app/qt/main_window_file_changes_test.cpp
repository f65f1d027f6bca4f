// The window hears at once when another program changes the open file, and its own saves are
// no change.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <gtest/gtest.h>

#include "app/editor.h"
#include "app/qt/main_window.h"
#include "support/scripted_prompts.h"

namespace quillet {
namespace {

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class MainWindowFileChanges : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeFile(path, original);
        window = std::make_unique<MainWindow>(editor, path, folder.filePath(QStringLiteral("placement.ini")));
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QApplication::processEvents();
        ASSERT_TRUE(editor.document().noIndex);
    }

    test::ScriptedPrompts prompts;
    Editor editor{prompts, *CodePage::byName("1252")};
    QTemporaryDir folder;
    std::string path = QFile::encodeName(folder.filePath(QStringLiteral("raw.bin"))).toStdString();
    // No index: its last word differs from its first.
    const std::string original = std::string(12287, 'Z') + "E";
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowFileChanges, AChangeOnDiskIsAskedAtOnceAndTheOwnSaveIsNot)
{
    editor.storeTypedByte("99", GridCell{2, 1});
    window->refresh();
    std::string other = original;
    other.replace(16, 5, "other");
    writeFile(path, other);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.reloadAsked.empty(); }, 5000)) << "no question";
    EXPECT_EQ(editor.document().segments[0].data[0x11], 't') << "the rest of the file as it is now";
    EXPECT_EQ(editor.document().segments[0].data[0x10], 0x99);

    prompts.saveNames.push_back(path);
    prompts.answers = {true, true};  // replace it; save over the changed file anyway
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    other[0x10] = static_cast<char>(0x99);
    EXPECT_EQ(fileText(path), other);
    QTest::qWait(500);  // the watcher hears of the save
    EXPECT_EQ(prompts.reloadAsked.size(), 1u);
    EXPECT_FALSE(window->isWindowModified());

    writeFile(path, "A changed file.");
    ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.reloadAsked.size() == 2; }, 5000)) << "the saved file is watched";
}

}  // namespace
}  // namespace quillet
