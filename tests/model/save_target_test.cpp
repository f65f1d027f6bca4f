// Which file a save replaces: symbolic links are followed only where the system would let this
// user write through them, and a file with other names is told before it is replaced.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "model/save_target.h"
#include "support/file_outcomes.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

using test::fileText;
using test::namesIn;
using test::OrdinaryUserId;
using test::saveOutcome;
using test::ScratchFolder;
using test::writeText;

const std::string AccessDenied = "File access denied";
const std::string ForeignLink = AccessDenied + ": the symbolic link belongs to another user, in a folder open to all";

// A sticky folder open to all, as /tmp is, inside the scratch folder.
std::string sharedFolder(const ScratchFolder& folder, uid_t owner = 0)
{
    std::string shared = folder / "shared";
    std::filesystem::create_directory(shared);
    EXPECT_EQ(::chown(shared.c_str(), owner, owner), 0);
    EXPECT_EQ(::chmod(shared.c_str(), 01777), 0);
    return shared;
}

void makeLink(const std::string& target, const std::string& link, uid_t owner)
{
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    ASSERT_EQ(::lchown(link.c_str(), owner, owner), 0);
}

class SaveTargetAsRoot : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0) GTEST_SKIP() << "only root may give a link to another user";
        writeText(folder / "roots.rsc", "old");
    }
    ScratchFolder folder;
};

TEST_F(SaveTargetAsRoot, AnotherUsersLinkInASharedStickyFolderIsRefusedAndNothingIsWritten)
{
    std::string shared = sharedFolder(folder);
    makeLink(folder / "roots.rsc", shared + "/out.rsc", OrdinaryUserId);
    makeLink(folder / "later.rsc", shared + "/dangling.rsc", OrdinaryUserId);
    makeLink(folder.path(), shared + "/away", OrdinaryUserId);

    EXPECT_EQ(saveOutcome(shared + "/out.rsc"), ForeignLink);
    EXPECT_EQ(saveOutcome(shared + "/dangling.rsc"), ForeignLink) << "no file is made through it either";
    EXPECT_EQ(saveOutcome(shared + "/away/roots.rsc"), ForeignLink) << "nor through one on the way";
    EXPECT_EQ(fileText(folder / "roots.rsc"), "old");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>({"roots.rsc", "shared"}));
    EXPECT_EQ(namesIn(shared), std::vector<std::string>({"away", "dangling.rsc", "out.rsc"}));
}

TEST_F(SaveTargetAsRoot, ALinkIsFollowedWhenItIsTheSaversOrTheFolderOwnersOrTheFolderIsNotShared)
{
    std::string shared = sharedFolder(folder, OrdinaryUserId);
    makeLink(folder / "roots.rsc", shared + "/mine.rsc", 0);
    makeLink(folder / "roots.rsc", shared + "/owners.rsc", OrdinaryUserId);
    std::string plain = folder / "plain";
    std::filesystem::create_directory(plain);
    ASSERT_EQ(::chmod(plain.c_str(), 0777), 0);  // open to all, but not sticky
    makeLink(folder / "roots.rsc", plain + "/theirs.rsc", OrdinaryUserId);

    EXPECT_EQ(saveOutcome(shared + "/mine.rsc", "mine"), "saved");
    EXPECT_EQ(fileText(folder / "roots.rsc"), "mine");
    EXPECT_EQ(saveOutcome(shared + "/owners.rsc", "owners"), "saved");
    EXPECT_EQ(fileText(folder / "roots.rsc"), "owners");
    EXPECT_EQ(saveOutcome(plain + "/theirs.rsc", "theirs"), "saved");
    EXPECT_EQ(fileText(folder / "roots.rsc"), "theirs");
    EXPECT_TRUE(std::filesystem::is_symlink(shared + "/mine.rsc"));
}

TEST(SaveTargetLinks, ALinkToAFileTheUserMayNotWriteIsRefused)
{
    ScratchFolder folder;
    writeText(folder / "roots.rsc", "old");
    ASSERT_EQ(::chmod((folder / "roots.rsc").c_str(), 0444), 0);  // no writer but root
    std::string open = folder / "open";
    std::filesystem::create_directory(open);
    ASSERT_EQ(::chmod(open.c_str(), 0777), 0);
    auto outcome = test::runAsOrdinaryUser([&] {
        if (::symlink((folder / "roots.rsc").c_str(), (open + "/link.rsc").c_str()) != 0) return std::string("no link");
        return saveOutcome(open + "/link.rsc");
    });
    if (!outcome) GTEST_SKIP() << "cannot run as an ordinary user here";
    EXPECT_EQ(*outcome, AccessDenied);
    EXPECT_EQ(fileText(folder / "roots.rsc"), "old");
    EXPECT_EQ(namesIn(open), std::vector<std::string>({"link.rsc"}));
}

TEST(SaveTargetLinks, ARunningProgramsFileIsReplacedAndTheProgramRunsOn)
{
    ScratchFolder folder;
    std::string program = folder / "program";
    std::filesystem::copy_file("/bin/sleep", program);
    ASSERT_EQ(::chmod(program.c_str(), 0755), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::execl(program.c_str(), "program", "30", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Running once the process's own file is the program.
    std::string exe = "/proc/" + std::to_string(child) + "/exe";
    for (int wait = 0; wait < 500 && std::filesystem::read_symlink(exe).string() != program; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));

    EXPECT_EQ(saveOutcome(program), "saved");
    EXPECT_EQ(fileText(program), "new text");
    EXPECT_EQ(::kill(child, 0), 0) << "the program still runs";
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

// --- Hard links -----------------------------------------------------------------------------

TEST(SaveTargetNames, AFileWithOtherNamesIsToldAndASaveGivesOnlyThisNameTheNewContent)
{
    ScratchFolder folder;
    writeText(folder / "h1.rsc", "old");
    ASSERT_EQ(::link((folder / "h1.rsc").c_str(), (folder / "h2.rsc").c_str()), 0);
    ASSERT_EQ(::symlink("h1.rsc", (folder / "soft.rsc").c_str()), 0);
    EXPECT_EQ(namesOfSaveTarget(folder / "h1.rsc"), 2u);
    EXPECT_EQ(namesOfSaveTarget(folder / "soft.rsc"), 2u) << "the file the link points to";
    EXPECT_EQ(namesOfSaveTarget(folder / "missing.rsc"), 0u);
    EXPECT_EQ(namesOfSaveTarget(folder.path()), 0u);

    EXPECT_EQ(saveOutcome(folder / "h1.rsc"), "saved");
    EXPECT_EQ(fileText(folder / "h1.rsc"), "new text");
    EXPECT_EQ(fileText(folder / "h2.rsc"), "old");
    EXPECT_EQ(namesOfSaveTarget(folder / "h1.rsc"), 1u);
    EXPECT_EQ(namesOfSaveTarget(folder / "h2.rsc"), 1u);
}

}  // namespace
}  // namespace quillet
