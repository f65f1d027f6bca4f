// Running out of memory is told like any other trouble, in one line naming the file; the tool
// never aborts.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "support/run_cli.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

// An indexed file of 64 MiB that is almost all index: 32 million entries to hold. Sparse, so
// it takes no room on the disk.
std::string fileOfALongIndex(const test::ScratchFolder& folder)
{
    std::string path = folder / "long-index.rsc";
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const unsigned char word[2] = {0x10, 0x00};
    EXPECT_EQ(::pwrite(fd, word, 2, 0), 2);
    EXPECT_EQ(::pwrite(fd, word, 2, (64 << 20) - 2), 2);
    ::close(fd);
    return path;
}

TEST(NotEnoughMemory, IsToldWithTheFileAndTheCommandsStatus)
{
    if (test::cliUnderAddressSanitizer()) GTEST_SKIP() << "AddressSanitizer needs more address space";
    test::ScratchFolder folder;
    std::string file = fileOfALongIndex(folder);
    // 40 MB of address space: the tool starts, the index does not fit.
    const test::CliShell tight = test::withLimits("--as=40000000");
    for (const auto& command :
         {std::vector<std::string>{"list", file}, std::vector<std::string>{"list", "--json", file},
          std::vector<std::string>{"copy", file, folder / "copy.rsc"},
          std::vector<std::string>{"texts", "export", file},
          std::vector<std::string>{"replace", "00", "01", file, folder / "out.rsc"}}) {
        SCOPED_TRACE(command.front());
        test::CliResult run = test::runCliWith(tight, command);
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "quillet-cli: " + file + ": not enough memory\n");
    }
    test::CliResult found = test::runCliWith(tight, {"find", "00", file});
    EXPECT_EQ(found.exitStatus, 2);
    EXPECT_EQ(found.err, "quillet-cli: " + file + ": not enough memory\n");
    EXPECT_EQ(test::namesIn(folder.path()), std::vector<std::string>{"long-index.rsc"});
}

// Nothing is undone on the command line: a replace keeps no record of its hits, so that 16 MiB
// of hits need no more memory than one. (The file starts with 00: it is held raw, all of it data.)
TEST(NotEnoughMemory, ReplaceNeedsNoMemoryForItsHits)
{
    if (test::cliUnderAddressSanitizer()) GTEST_SKIP() << "AddressSanitizer needs more address space";
    test::ScratchFolder folder;
    std::string in = folder / "all-a.bin";
    {
        std::ofstream file(in, std::ios::binary);
        file << '\0' << std::string((std::size_t{16} << 20) - 1, 'A');
    }
    std::string out = folder / "all-b.bin";
    test::CliResult run = test::runCliWith(test::withLimits("--as=150000000"), {"replace", "41", "42", in, out});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, "Make 16777215 replace(s)\n");
    EXPECT_EQ(test::fileText(out), '\0' + std::string((std::size_t{16} << 20) - 1, 'B'));
}

}  // namespace
}  // namespace quillet
