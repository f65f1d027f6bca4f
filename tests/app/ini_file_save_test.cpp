#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "app/ini_file.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

using test::fileText;
using test::namesIn;
using test::ScratchFolder;

const IniFile Placement = IniFile::parse("[Window]\nState=1\n");

TEST(IniFileSave, KeepsTheModeOfTheFileItReplaces)
{
    ScratchFolder folder;
    std::string path = folder / "quillet.INI";
    std::ofstream(path) << "[Old]\n";
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    mode_t old = ::umask(022);
    std::optional<std::string> error = saveIniFile(path, Placement);
    ::umask(old);
    EXPECT_EQ(error, std::nullopt);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u) << "a private file stays private";
    EXPECT_EQ(fileText(path), Placement.text());
}

TEST(IniFileSave, ALinkedFileIsWrittenAndTheLinkStays)
{
    // Settings kept in another folder and linked into place, as dotfile managers do.
    ScratchFolder folder;
    std::filesystem::create_directory(folder / "kept");
    std::ofstream(folder / "kept/quillet.INI") << "[Old]\n";
    std::filesystem::create_symlink("kept/quillet.INI", folder / "quillet.INI");

    EXPECT_EQ(saveIniFile(folder / "quillet.INI", Placement), std::nullopt);
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "quillet.INI"));
    EXPECT_EQ(fileText(folder / "kept/quillet.INI"), Placement.text());
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>({"kept", "quillet.INI"}));
}

TEST(IniFileSave, ANamedPipeInItsPlaceIsRefusedWithTheReason)
{
    ScratchFolder folder;
    std::string path = folder / "quillet.INI";
    ASSERT_TRUE(test::makeFifo(path));
    EXPECT_EQ(saveIniFile(path, Placement), "Cannot write \"" + path + "\": Not a regular file: a named pipe (FIFO)");
    struct stat info {};
    ASSERT_EQ(::lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>({"quillet.INI"}));
    EXPECT_EQ(loadIniFile(path).text(), "") << "nor is it read";
}

TEST(IniFileSave, AReadOnlyFolderGivesTheReasonAndLeavesNothingBehind)
{
    ScratchFolder folder;
    std::string locked = folder / "locked";
    std::filesystem::create_directory(locked);
    std::ofstream(locked + "/quillet.INI") << "[Old]\n";
    ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);
    auto error = test::runAsOrdinaryUser(
        [&] { return saveIniFile(locked + "/quillet.INI", Placement).value_or("saved"); });
    if (!error) GTEST_SKIP() << "cannot run as an ordinary user here";
    EXPECT_EQ(*error, "Cannot write \"" + locked + "/quillet.INI\": File access denied");
    EXPECT_EQ(fileText(locked + "/quillet.INI"), "[Old]\n");
    EXPECT_EQ(namesIn(locked), std::vector<std::string>({"quillet.INI"}));
}

}  // namespace
}  // namespace quillet
