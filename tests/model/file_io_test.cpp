#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "model/file_io.h"
#include "support/file_outcomes.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

using test::fileText;
using test::namesIn;
using test::readOutcome;
using test::saveOutcome;
using test::ScratchFolder;
using test::writeText;

const std::string LinkLoop = "Too many levels of symbolic links";
const std::string AccessDenied = "File access denied";

struct stat linkInfo(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info;
}

// --- Special files ---------------------------------------------------------------------------

struct SpecialFile {
    const char* name;
    mode_t type;
    std::string refusal;
};

void PrintTo(const SpecialFile& file, std::ostream* out)
{
    *out << file.name;
}

class FileIoSpecialFile : public ::testing::TestWithParam<SpecialFile> {
protected:
    void SetUp() override
    {
        // A refusal that waited on the file would end the run here instead of hanging it.
        ::alarm(60);
        path = folder / GetParam().name;
        bool made = false;
        switch (GetParam().type) {
        case S_IFIFO: made = test::makeFifo(path); break;
        case S_IFCHR: made = test::makeDeviceNode(path, S_IFCHR, 1, 3); break;  // the null device
        case S_IFBLK: made = test::makeDeviceNode(path, S_IFBLK, 7, 0); break;  // a loop device
        case S_IFSOCK: made = test::makeSocket(path); break;
        }
        if (!made) GTEST_SKIP() << "cannot make a " << GetParam().name << " here";
    }
    void TearDown() override { ::alarm(0); }

    void expectUnchanged(const std::string& name)
    {
        struct stat info = linkInfo(path);
        EXPECT_EQ(info.st_mode & S_IFMT, GetParam().type) << "the " << GetParam().name << " stays what it was";
        if (GetParam().type == S_IFCHR) {
            EXPECT_EQ(info.st_rdev, makedev(1, 3));
        }
        EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>({name})) << "nothing else is written";
    }

    ScratchFolder folder;
    std::string path;
};

TEST_P(FileIoSpecialFile, IsRefusedOnOpenWithWhatItIs)
{
    EXPECT_TRUE(fileExists(path)) << "opening it explains itself";
    EXPECT_EQ(readOutcome(path), GetParam().refusal);
    expectUnchanged(GetParam().name);
}

TEST_P(FileIoSpecialFile, IsRefusedAsASaveTargetAndStaysWhatItIs)
{
    EXPECT_EQ(saveOutcome(path), GetParam().refusal);
    expectUnchanged(GetParam().name);
}

TEST_P(FileIoSpecialFile, IsRefusedThroughASymbolicLink)
{
    ASSERT_EQ(::symlink(GetParam().name, (folder / "link").c_str()), 0);
    EXPECT_EQ(readOutcome(folder / "link"), GetParam().refusal);
    EXPECT_EQ(saveOutcome(folder / "link"), GetParam().refusal);
    EXPECT_TRUE(S_ISLNK(linkInfo(folder / "link").st_mode));
    ::unlink((folder / "link").c_str());
    expectUnchanged(GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Kinds, FileIoSpecialFile,
                         ::testing::Values(SpecialFile{"fifo", S_IFIFO, "Not a regular file: a named pipe (FIFO)"},
                                           SpecialFile{"chardev", S_IFCHR, "Not a regular file: a character device"},
                                           SpecialFile{"blockdev", S_IFBLK, "Not a regular file: a block device"},
                                           SpecialFile{"socket", S_IFSOCK, "Not a regular file: a socket"}),
                         [](const ::testing::TestParamInfo<SpecialFile>& info) {
                             return std::string(info.param.name);
                         });

TEST(FileIoFifo, WithAWriterAttachedIsRefusedRatherThanReadAsEmpty)
{
    ScratchFolder folder;
    ASSERT_TRUE(test::makeFifo(folder / "fifo"));
    int writer = ::open((folder / "fifo").c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    EXPECT_EQ(readOutcome(folder / "fifo"), "Not a regular file: a named pipe (FIFO)");
    ::close(writer);
}

// --- Names: folders, missing folders, links, long names -------------------------------------

TEST(FileIoNames, AFolderIsNeitherReadNorReplaced)
{
    ScratchFolder folder;
    std::filesystem::create_directory(folder / "sub");
    writeText(folder / "sub/inside.rsc", "x");
    EXPECT_FALSE(fileExists(folder / "sub"));
    EXPECT_EQ(readOutcome(folder / "sub"), AccessDenied);
    EXPECT_EQ(saveOutcome(folder / "sub"), AccessDenied);
    EXPECT_EQ(saveOutcome(folder / "sub/"), AccessDenied);
    EXPECT_EQ(fileText(folder / "sub/inside.rsc"), "x");
    EXPECT_EQ(namesIn(folder / "sub"), std::vector<std::string>({"inside.rsc"}));
}

TEST(FileIoNames, AMissingFolderOrAFileUsedAsAFolderIsReportedAndNothingIsMade)
{
    ScratchFolder folder;
    EXPECT_FALSE(fileExists(folder / "missing/file.rsc"));
    EXPECT_EQ(readOutcome(folder / "missing/file.rsc"), "File not found");
    EXPECT_EQ(saveOutcome(folder / "missing/file.rsc"), "File not found");
    writeText(folder / "plain.rsc", "old");
    EXPECT_EQ(readOutcome(folder / "plain.rsc/file.rsc"), "Invalid filename");
    EXPECT_EQ(saveOutcome(folder / "plain.rsc/file.rsc"), "Invalid filename");
    EXPECT_EQ(saveOutcome(""), "File not found");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>({"plain.rsc"}));
    EXPECT_EQ(fileText(folder / "plain.rsc"), "old");
}

TEST(FileIoNames, ANameOfTheFullLengthIsSavedWithoutATemporaryLeftBehind)
{
    ScratchFolder folder;
    std::string longest(NAME_MAX - 4, 'n');
    longest += ".rsc";
    EXPECT_EQ(saveOutcome(folder / longest, "first"), "saved");
    EXPECT_EQ(saveOutcome(folder / longest, "second"), "saved") << "replacing it needs the temporary name too";
    EXPECT_EQ(readOutcome(folder / longest), "second");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>({longest}));
    EXPECT_EQ(saveOutcome(folder / ("n" + longest)), "Invalid filename") << "one byte more is too long";
}

TEST(FileIoLinks, ALinkToAFileIsFollowedAndStays)
{
    ScratchFolder folder;
    std::filesystem::create_directory(folder / "sub");
    writeText(folder / "target.rsc", "old");
    // Relative to the link's own folder, not to the working folder.
    ASSERT_EQ(::symlink("../target.rsc", (folder / "sub/link.rsc").c_str()), 0);
    EXPECT_EQ(readOutcome(folder / "sub/link.rsc"), "old");
    EXPECT_EQ(saveOutcome(folder / "sub/link.rsc"), "saved");
    EXPECT_EQ(fileText(folder / "target.rsc"), "new text");
    EXPECT_TRUE(S_ISLNK(linkInfo(folder / "sub/link.rsc").st_mode));
    EXPECT_EQ(std::filesystem::read_symlink(folder / "sub/link.rsc"), "../target.rsc");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>({"sub", "target.rsc"}));
    EXPECT_EQ(namesIn(folder / "sub"), std::vector<std::string>({"link.rsc"}));
}

TEST(FileIoLinks, ALinkThatLoopsIsNamedAndNeverReplaced)
{
    ScratchFolder folder;
    ASSERT_EQ(::symlink("b.rsc", (folder / "a.rsc").c_str()), 0);
    ASSERT_EQ(::symlink("a.rsc", (folder / "b.rsc").c_str()), 0);
    ASSERT_EQ(::symlink("self.rsc", (folder / "self.rsc").c_str()), 0);
    for (const char* name : {"a.rsc", "self.rsc"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(fileExists(folder / name)) << "the window's Open reports it instead of ignoring it";
        EXPECT_EQ(readOutcome(folder / name), LinkLoop);
        EXPECT_EQ(saveOutcome(folder / name), LinkLoop);
    }
    EXPECT_EQ(saveOutcome(folder / "a.rsc/inside.rsc"), LinkLoop);
    EXPECT_EQ(std::filesystem::read_symlink(folder / "a.rsc"), "b.rsc");
    EXPECT_EQ(std::filesystem::read_symlink(folder / "b.rsc"), "a.rsc");
    EXPECT_EQ(std::filesystem::read_symlink(folder / "self.rsc"), "self.rsc");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>({"a.rsc", "b.rsc", "self.rsc"}));
}

TEST(FileIoLinks, ALinkToAMissingFileMakesThatFileAndStays)
{
    ScratchFolder folder;
    ASSERT_EQ(::symlink("later.rsc", (folder / "link.rsc").c_str()), 0);
    EXPECT_FALSE(fileExists(folder / "link.rsc")) << "a name with no file behind it opens nothing";
    EXPECT_EQ(saveOutcome(folder / "link.rsc"), "saved");
    EXPECT_EQ(fileText(folder / "later.rsc"), "new text");
    EXPECT_TRUE(S_ISLNK(linkInfo(folder / "link.rsc").st_mode));
}

// --- Owner, mode, permissions ---------------------------------------------------------------

TEST(FileIoPermissions, ANewFileTakesItsModeFromTheUmask)
{
    ScratchFolder folder;
    mode_t old = ::umask(027);
    std::string outcome = saveOutcome(folder / "new.rsc");
    ::umask(old);
    EXPECT_EQ(outcome, "saved");
    EXPECT_EQ(linkInfo(folder / "new.rsc").st_mode & 07777, 0640u);
}

TEST(FileIoPermissions, AnOrdinaryUserMaySaveOverAnotherUsersFileInAFolderOpenToAll)
{
    ScratchFolder folder;
    std::string shared = folder / "shared";
    std::filesystem::create_directory(shared);
    ASSERT_EQ(::chmod(shared.c_str(), 0777), 0);
    writeText(shared + "/theirs.rsc", "old");
    ASSERT_EQ(::chmod((shared + "/theirs.rsc").c_str(), 0666), 0);
    // The owner cannot be kept; that is no reason to refuse the save.
    auto outcome = test::runAsOrdinaryUser([&] { return saveOutcome(shared + "/theirs.rsc"); });
    if (!outcome) GTEST_SKIP() << "cannot run as an ordinary user here";
    EXPECT_EQ(*outcome, "saved");
    EXPECT_EQ(fileText(shared + "/theirs.rsc"), "new text");
    EXPECT_EQ(linkInfo(shared + "/theirs.rsc").st_mode & 07777, 0666u);
    EXPECT_EQ(namesIn(shared), std::vector<std::string>({"theirs.rsc"}));
}

TEST(FileIoPermissions, AReadOnlyFolderIsReadButNotWritten)
{
    ScratchFolder folder;
    std::string locked = folder / "locked";
    std::filesystem::create_directory(locked);
    writeText(locked + "/kept.rsc", "old");
    ASSERT_EQ(::chmod((locked + "/kept.rsc").c_str(), 0666), 0);
    ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);
    auto outcome = test::runAsOrdinaryUser([&] {
        return readOutcome(locked + "/kept.rsc") + " | " + saveOutcome(locked + "/kept.rsc") + " | " +
               saveOutcome(locked + "/new.rsc");
    });
    if (!outcome) GTEST_SKIP() << "cannot run as an ordinary user here";
    EXPECT_EQ(*outcome, "old | " + AccessDenied + " | " + AccessDenied);
    EXPECT_EQ(fileText(locked + "/kept.rsc"), "old");
    EXPECT_EQ(namesIn(locked), std::vector<std::string>({"kept.rsc"}));
}

TEST(FileIoPermissions, AFileWithoutReadOrWriteRightsIsReportedAndKept)
{
    ScratchFolder folder;
    writeText(folder / "closed.rsc", "old");
    ASSERT_EQ(::chmod((folder / "closed.rsc").c_str(), 0444), 0);
    std::string open = folder / "open";
    std::filesystem::create_directory(open);
    ASSERT_EQ(::chmod(open.c_str(), 0777), 0);
    writeText(open + "/unreadable.rsc", "secret");
    ASSERT_EQ(::chmod((open + "/unreadable.rsc").c_str(), 0), 0);
    auto outcome = test::runAsOrdinaryUser(
        [&] { return saveOutcome(folder / "closed.rsc") + " | " + readOutcome(open + "/unreadable.rsc"); });
    if (!outcome) GTEST_SKIP() << "cannot run as an ordinary user here";
    EXPECT_EQ(*outcome, AccessDenied + " | " + AccessDenied);
    EXPECT_EQ(fileText(folder / "closed.rsc"), "old");
    EXPECT_EQ(namesIn(open), std::vector<std::string>({"unreadable.rsc"}));
}

// --- A full disk ----------------------------------------------------------------------------

// A tiny file system of its own, when the system lets the tests mount one.
class SmallDisk {
public:
    explicit SmallDisk(const std::string& path) : path_(path)
    {
        std::filesystem::create_directory(path_);
        mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") == 0;
    }
    ~SmallDisk()
    {
        if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }

private:
    std::string path_;
    bool mounted_ = false;
};

TEST(FileIoDiskFull, IsReportedAndTheOldFileStaysWhole)
{
    ScratchFolder folder;
    SmallDisk disk(folder / "disk");
    if (!disk.mounted()) GTEST_SKIP() << "cannot mount a small file system here";
    std::string path = folder / "disk/kept.rsc";
    std::string old(4096, 'o');
    writeText(path, old);

    std::string outcome = "saved";
    try {
        AtomicFileWriter file(path);
        std::string piece(1000, 'n');
        for (int i = 0; i < 200; ++i) file.write(piece.data(), piece.size());
        file.commit();
    } catch (const IoError& error) {
        outcome = error.what();
    }
    EXPECT_EQ(outcome, "Disk full");
    EXPECT_EQ(fileText(path), old);
    EXPECT_EQ(namesIn(folder / "disk"), std::vector<std::string>({"kept.rsc"}));
}

// A copy the system makes from file to file fails as a write does.
TEST(FileIoDiskFull, IsReportedForACopyFromFileToFile)
{
    ScratchFolder folder;
    SmallDisk disk(folder / "disk");
    if (!disk.mounted()) GTEST_SKIP() << "cannot mount a small file system here";
    std::string source = folder / "disk/source.bin";
    std::string text(40000, 's');
    writeText(source, text);
    int fd = ::open(source.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    std::string outcome = "saved";
    try {
        AtomicFileWriter file(folder / "disk/copy.rsc");
        file.copyFrom(fd, 0, text.data(), text.size());
        file.copyFrom(fd, 0, text.data(), text.size());
        file.commit();
    } catch (const IoError& error) {
        outcome = error.what();
    }
    ::close(fd);
    EXPECT_EQ(outcome, "Disk full");
    EXPECT_EQ(namesIn(folder / "disk"), std::vector<std::string>({"source.bin"}));
}

// --- Copies from file to file ---------------------------------------------------------------

// What copyFrom writes is the same whether the system copies from file to file or the bytes are
// written from memory: from a file, from a pipe (which the system cannot copy from), and from a
// file that ends before the bytes asked for.
TEST(FileIoCopy, WritesTheBytesWhetherTheSystemCopiesThemOrNot)
{
    ScratchFolder folder;
    std::string source = folder / "source.bin";
    std::string text(300000, 'x');
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
    writeText(source, text);
    int file = ::open(source.c_str(), O_RDONLY);
    ASSERT_GE(file, 0);
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    {
        AtomicFileWriter writer(folder / "copy.bin");
        writer.write("<", 1);
        writer.copyFrom(file, 1000, text.data() + 1000, 200000);
        writer.copyFrom(pipe[0], 0, text.data(), 10);
        writer.write(">", 1);
        ASSERT_EQ(::truncate(source.c_str(), 250000), 0);
        writer.copyFrom(file, 200000, text.data() + 200000, 100000);  // the last 50000 bytes from memory
        writer.commit();
    }
    ::close(file);
    ::close(pipe[0]);
    ::close(pipe[1]);
    EXPECT_EQ(fileText(folder / "copy.bin"),
              "<" + text.substr(1000, 200000) + text.substr(0, 10) + ">" + text.substr(200000, 100000));
}

}  // namespace
}  // namespace quillet
