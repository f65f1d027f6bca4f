#include <gtest/gtest.h>

#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "support/byte_strings.h"
#include "support/resource_builder.h"
#include "support/run_cli.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

using test::namesIn;
using test::readFileBytes;
using test::runCli;
using test::ScratchFolder;

std::string writeInput(const ScratchFolder& folder)
{
    std::string path = folder / "in.rsc";
    Bytes bytes = test::workedExampleFile();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

mode_t typeOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & S_IFMT;
}

TEST(CliNonRegularFiles, ListingANamedPipeFailsAtOnceWithWhatItIs)
{
    ScratchFolder folder;
    std::string fifo = folder / "fifo.rsc";
    ASSERT_TRUE(test::makeFifo(fifo));
    // A writer attached: a listing that opened the pipe would show an empty file, not hang.
    int writer = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    auto result = runCli({"list", fifo});
    ::close(writer);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "quillet-cli: " + fifo + ": Not a regular file: a named pipe (FIFO)\n");
}

TEST(CliNonRegularFiles, CopyingOntoANamedPipeOrADeviceFailsAndLeavesIt)
{
    ScratchFolder folder;
    std::string in = writeInput(folder);
    std::string fifo = folder / "fifo.rsc";
    ASSERT_TRUE(test::makeFifo(fifo));
    auto result = runCli({"copy", in, fifo});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "quillet-cli: " + fifo + ": Not a regular file: a named pipe (FIFO)\n");
    EXPECT_EQ(typeOf(fifo), static_cast<mode_t>(S_IFIFO));

    std::string device = folder / "null.rsc";
    if (test::makeDeviceNode(device, S_IFCHR, 1, 3)) {
        result = runCli({"copy", in, device});
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_EQ(result.err, "quillet-cli: " + device + ": Not a regular file: a character device\n");
        EXPECT_EQ(typeOf(device), static_cast<mode_t>(S_IFCHR));
    }
    EXPECT_EQ(namesIn(folder.path()).size(), std::filesystem::exists(device) ? 3u : 2u) << "no temporary file left";
}

TEST(CliNonRegularFiles, ALinkThatLoopsIsNamedOnListAndCopyAndStays)
{
    ScratchFolder folder;
    std::string in = writeInput(folder);
    std::string loop = folder / "loop.rsc";
    ASSERT_EQ(::symlink("loop.rsc", loop.c_str()), 0);
    auto listed = runCli({"list", loop});
    EXPECT_EQ(listed.exitStatus, 1);
    EXPECT_EQ(listed.err, "quillet-cli: " + loop + ": Too many levels of symbolic links\n");
    auto copied = runCli({"copy", in, loop});
    EXPECT_EQ(copied.exitStatus, 1);
    EXPECT_EQ(copied.err, "quillet-cli: " + loop + ": Too many levels of symbolic links\n");
    EXPECT_EQ(typeOf(loop), static_cast<mode_t>(S_IFLNK));
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>({"in.rsc", "loop.rsc"}));
}

TEST(CliNonRegularFiles, CopiesOntoANameOfTheFullLengthAndThroughALink)
{
    ScratchFolder folder;
    std::string in = writeInput(folder);
    std::string longest = folder / (std::string(NAME_MAX - 4, 'n') + ".rsc");
    auto result = runCli({"copy", in, longest});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(readFileBytes(longest), test::workedExampleFile());

    std::string link = folder / "link.rsc";
    ASSERT_EQ(::symlink(std::filesystem::path(longest).filename().c_str(), link.c_str()), 0);
    ASSERT_EQ(::truncate(longest.c_str(), 0), 0);
    EXPECT_EQ(runCli({"copy", in, link}).exitStatus, 0);
    EXPECT_EQ(readFileBytes(longest), test::workedExampleFile());
    EXPECT_EQ(typeOf(link), static_cast<mode_t>(S_IFLNK));
    EXPECT_EQ(namesIn(folder.path()).size(), 3u) << "no temporary file left";
}

}  // namespace
}  // namespace quillet
