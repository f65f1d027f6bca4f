// A save keeps what `cp -p` keeps of the file it replaces.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "support/file_outcomes.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

using test::fileText;
using test::OrdinaryGroupId;
using test::OrdinaryUserId;
using test::saveOutcome;
using test::ScratchFolder;
using test::writeText;

// What a command prints; nothing when it fails.
std::optional<std::string> outputOf(const std::string& command)
{
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    std::string output;
    std::array<char, 256> piece{};
    while (std::size_t got = std::fread(piece.data(), 1, piece.size(), pipe)) output.append(piece.data(), got);
    if (::pclose(pipe) != 0) return std::nullopt;
    return output;
}

// The access control list, numbers for names.
std::optional<std::string> accessListOf(const std::string& path)
{
    return outputOf("getfacl --omit-header --numeric '" + path + "'");
}

std::string attributeOf(const std::string& path, const char* name)
{
    std::array<char, 64> value{};
    ssize_t length = ::getxattr(path.c_str(), name, value.data(), value.size());
    return length < 0 ? std::string("(none)") : std::string(value.data(), static_cast<std::size_t>(length));
}

mode_t modeOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

TEST(KeptAttributes, AnAccessControlListAndAnExtendedAttributeSurviveASave)
{
    ScratchFolder folder;
    std::string path = folder / "shared.rsc";
    writeText(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    if (!outputOf("setfacl -m u:4321:rw- '" + path + "'")) GTEST_SKIP() << "no access control lists here";
    ASSERT_EQ(::setxattr(path.c_str(), "user.note", "kept", 4, 0), 0);
    std::optional<std::string> before = accessListOf(path);
    ASSERT_TRUE(before);
    ASSERT_NE(before->find("user:4321:rw-"), std::string::npos) << *before;

    EXPECT_EQ(saveOutcome(path), "saved");
    EXPECT_EQ(fileText(path), "new text");
    std::optional<std::string> after = accessListOf(path);
    ASSERT_TRUE(after);
    EXPECT_EQ(*after, *before);
    // The mode shows the list's mask, rw-, as the group's rights; the group itself still only reads.
    EXPECT_NE(after->find("group::r--"), std::string::npos) << *after;
    EXPECT_EQ(modeOf(path), 0660u);
    EXPECT_EQ(attributeOf(path, "user.note"), "kept");
}

TEST(KeptAttributes, SetIdBitsSurviveASaveOfAnotherUsersFile)
{
    if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
    ScratchFolder folder;
    std::string path = folder / "owned.rsc";
    writeText(path, "old");
    ASSERT_EQ(::chown(path.c_str(), 4242, 4343), 0);
    // Set after the owner: a change of owner clears them.
    ASSERT_EQ(::chmod(path.c_str(), 06750), 0);
    EXPECT_EQ(saveOutcome(path), "saved");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4242u);
    EXPECT_EQ(info.st_gid, 4343u);
    EXPECT_EQ(info.st_mode & 07777, 06750u);
    EXPECT_EQ(fileText(path), "new text");
}

TEST(KeptAttributes, SetIdBitsSurviveTheOwnersOwnSave)
{
    ScratchFolder folder;
    std::string open = folder / "open";
    std::filesystem::create_directory(open);
    ASSERT_EQ(::chmod(open.c_str(), 0777), 0);
    std::string path = open + "/own.rsc";
    writeText(path, "old");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path.c_str(), OrdinaryUserId, OrdinaryGroupId), 0);
    }
    ASSERT_EQ(::chmod(path.c_str(), 06750), 0);
    auto outcome = test::runAsOrdinaryUser([&] { return saveOutcome(path); });
    if (!outcome) GTEST_SKIP() << "cannot run as an ordinary user here";
    EXPECT_EQ(*outcome, "saved");
    EXPECT_EQ(modeOf(path), 06750u);
    EXPECT_EQ(fileText(path), "new text");
}

}  // namespace
}  // namespace quillet
