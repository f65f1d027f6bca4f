#include "app/recent_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/editor_fixture.h"
#include "support/resource_builder.h"

namespace quillet {
namespace {

using Files = std::vector<std::string>;

TEST(RecentFiles, TheNewestComesFirstOnceAndTheListKeepsItsLength)
{
    Files files = withRecentFile({}, "/a", 3);
    files = withRecentFile(files, "/b", 3);
    files = withRecentFile(files, "/c", 3);
    EXPECT_EQ(files, (Files{"/c", "/b", "/a"}));
    EXPECT_EQ(withRecentFile(files, "/a", 3), (Files{"/a", "/c", "/b"}));
    EXPECT_EQ(withRecentFile(files, "/d", 3), (Files{"/d", "/c", "/b"}));
    // What the settings file cannot hold as it is stays out.
    for (const char* odd : {"", "/x\ny", " /lead", "/trail\t"}) EXPECT_EQ(withRecentFile(files, odd, 3), files) << odd;
}

TEST(RecentFiles, TheSettingsHoldTheListInOrder)
{
    IniFile ini = IniFile::parse("[TFormMain]\nShowCmd=1\n[RecentFiles]\nFile9=/old\n");
    writeRecentFiles(ini, {"/b c/d.rsc", "/e=f.rsc"});
    EXPECT_EQ(ini.text(), "[TFormMain]\nShowCmd=1\n\n[RecentFiles]\nFile1=/b c/d.rsc\nFile2=/e=f.rsc\n");
    EXPECT_EQ(readRecentFiles(IniFile::parse(ini.text()), 8), (Files{"/b c/d.rsc", "/e=f.rsc"}));
    EXPECT_EQ(readRecentFiles(IniFile::parse("[RecentFiles]\nFile1=/a\nFile2=\nFile3=/a\nFile4=/b\nFile5=/c\n"), 4),
              (Files{"/a", "/b"}))
        << "empty values and repeats are skipped, and only the first keys are read";
}

class EditorRecentFiles : public test::EditorFixture {};

// The editor remembers what was opened and saved by the full path, and the title and status bar
// name the file the document is now, which a Save as changes.
TEST_F(EditorRecentFiles, OpeningAndSavingAreRememberedAndNamed)
{
    std::string first = open(test::workedExampleFile(), "first.rsc");
    EXPECT_EQ(editor.recentFiles(), Files{std::filesystem::path(first).lexically_normal().string()});
    EXPECT_EQ(editor.documentName(), "first.rsc");

    std::string saved = test::tempPath("renamed.rsc");
    prompts.saveNames.push_back(saved);
    editor.saveFileAs();
    EXPECT_EQ(editor.documentName(), "renamed.rsc");
    EXPECT_EQ(state().fileNamePanel, saved);
    EXPECT_EQ(editor.recentFiles().front(), saved);
    EXPECT_EQ(editor.recentFiles().size(), 2u);

    editor.openRecentFile(1);
    EXPECT_EQ(editor.documentName(), "first.rsc");
    EXPECT_EQ(editor.recentFiles().front(), first);
}

TEST_F(EditorRecentFiles, AFileThatIsGoneLeavesTheListWithAWord)
{
    open(test::workedExampleFile(), "kept.rsc");
    std::string gone = test::tempPath("gone.rsc");
    editor.setRecentFiles({editor.recentFiles().front(), gone});
    editor.openRecentFile(1);
    EXPECT_EQ(editor.recentFiles().size(), 1u);
    EXPECT_EQ(lastMessage(), gone + ": File not found. It was taken off the list of recent files.");
    EXPECT_EQ(editor.documentName(), "kept.rsc");
}

}  // namespace
}  // namespace quillet
