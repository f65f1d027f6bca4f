// Every command checks that what it printed reached standard output: a full disk is never a
// success, and a file the tool writes is there whole or not at all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/byte_strings.h"
#include "support/file_outcomes.h"
#include "support/resource_builder.h"
#include "support/run_cli.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

// 250 blocks of 100 characters: a TAB export of about 26 KiB.
Bytes manyBlocksFile()
{
    std::vector<std::string> resources;
    resources.reserve(250);
    for (int b = 0; b < 250; ++b) resources.push_back("64 AB " + test::repeatedHex("41 00", 100));
    return test::resourceFile(resources);
}

TEST(OutputErrors, EveryCommandFailsWhenStandardOutputIsFull)
{
    test::ScratchFolder folder;
    std::string file = test::writeTempFile(test::workedExampleFile(), "full.rsc");
    const std::vector<std::vector<std::string>> commands = {
        {"list", file},
        {"list", "--json", file},
        {"texts", "export", file},
        {"texts", "export", "--po", file},
        {"replace", "01", "09", file, folder / "out.rsc"},
        {"--help"},
        {"--version"},
        {"list", "--help"},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command.front() + (command.size() > 1 ? " " + command[1] : ""));
        test::CliResult run = test::runCliWith(test::writingTo("/dev/full"), command);
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.err, "quillet-cli: -: Disk full\n");
    }
    // find answers as grep does: trouble is 2. Without a hit nothing was written: 1, no hit.
    test::CliResult found = test::runCliWith(test::writingTo("/dev/full"), {"find", "48", file});
    EXPECT_EQ(found.exitStatus, 2);
    EXPECT_EQ(found.err, "quillet-cli: -: Disk full\n");
    test::CliResult none = test::runCliWith(test::writingTo("/dev/full"), {"find", "FF", file});
    EXPECT_EQ(none.exitStatus, 1);
    EXPECT_EQ(none.err, "");
}

// A reader that leaves early ("| head -c 1"), where SIGPIPE is ignored, is a failed write too.
TEST(OutputErrors, AReaderThatLeavesEarlyIsAFailedWrite)
{
    test::ScratchFolder folder;
    const std::string file = folder / "all-a.bin";
    test::writeText(file, '\0' + std::string(std::size_t{1} << 20, 'A'));
    test::CliResult listed = test::runCliWith(test::pipedInto("head -c 1"), {"list", "--json", file});
    EXPECT_EQ(listed.exitStatus, 1);
    EXPECT_EQ(listed.err, "quillet-cli: -: Broken pipe\n");
    test::CliResult found = test::runCliWith(test::pipedInto("head -c 1"), {"find", "41", file});
    EXPECT_EQ(found.exitStatus, 2);
    EXPECT_EQ(found.err, "quillet-cli: -: Broken pipe\n");
    // A reader that takes everything gets everything, exact.
    test::CliResult whole = test::runCliWith(test::pipedInto("cat"), {"find", "41", file});
    EXPECT_EQ(whole.exitStatus, 0) << whole.err;
    EXPECT_EQ(whole.out, test::runCli({"find", "41", file}).out);
}

// The shell made the file: it stays, cut short, but the script learns that it is.
TEST(OutputErrors, AnExportCutShortByAFileSizeLimitFails)
{
    test::ScratchFolder folder;
    std::string file = test::writeTempFile(manyBlocksFile(), "many.rsc");
    test::CliResult whole = test::runCli({"texts", "export", file});
    ASSERT_GT(whole.out.size(), 16384u);
    test::CliResult cut = test::runCliWith(test::withLimits("--fsize=16384", folder / "texts.txt"),
                                           {"texts", "export", file});
    EXPECT_EQ(cut.exitStatus, 1);
    EXPECT_EQ(cut.err, "quillet-cli: -: Disk full\n");
    EXPECT_EQ(test::fileText(folder / "texts.txt"), whole.out.substr(0, 16384));
}

TEST(OutputErrors, AFileTheToolWritesIsLeftAsItWasWhenItCannotBeWrittenWhole)
{
    test::ScratchFolder folder;
    std::string in = test::writeTempFile(manyBlocksFile(), "many.rsc");
    std::string out = folder / "out.rsc";
    for (const auto& command :
         {std::vector<std::string>{"copy", in, out}, std::vector<std::string>{"replace", "41", "42", in, out}}) {
        SCOPED_TRACE(command.front());
        test::CliResult run = test::runCliWith(test::withLimits("--fsize=16384"), command);
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "quillet-cli: " + out + ": Disk full\n");
        EXPECT_TRUE(test::namesIn(folder.path()).empty());
    }
    test::writeText(out, "old");
    EXPECT_EQ(test::runCliWith(test::withLimits("--fsize=16384"), {"copy", in, out}).exitStatus, 1);
    EXPECT_EQ(test::namesIn(folder.path()), std::vector<std::string>{"out.rsc"});
    EXPECT_EQ(test::fileText(out), "old");
}

}  // namespace
}  // namespace quillet
