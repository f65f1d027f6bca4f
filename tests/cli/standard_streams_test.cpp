// "-" names standard input where a file is read and standard output where one is written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/byte_strings.h"
#include "support/file_outcomes.h"
#include "support/resource_builder.h"
#include "support/run_cli.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

std::string bytesText(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

TEST(StandardStreams, AResourceIsReadFromStandardInputFileOrPipe)
{
    std::string file = test::writeTempFile(test::workedExampleFile(), "stdin.rsc");
    test::CliResult named = test::runCli({"list", "--json", file});
    ASSERT_EQ(named.exitStatus, 0) << named.err;
    test::CliResult redirected = test::runCliWith(test::readingFrom(file), {"list", "--json", "-"});
    EXPECT_EQ(redirected.exitStatus, 0);
    EXPECT_EQ(redirected.out, named.out);
    EXPECT_EQ(redirected.err, "");
    test::CliResult piped = test::runCliWith(test::pipedFrom("cat '" + file + "'"), {"find", "69 00", "-"});
    EXPECT_EQ(piped.exitStatus, 0) << piped.err;
    EXPECT_EQ(piped.out, "2 2 0000000B\n");
    // Nothing on standard input is an empty file, as a named empty file is.
    std::string empty = test::writeTempFile(Bytes{}, "empty.rsc");
    EXPECT_EQ(test::runCli({"list", "-"}).out, test::runCli({"list", empty}).out);
}

TEST(StandardStreams, AResourceIsWrittenToStandardOutputAndReplaceTellsItsCountOnStderr)
{
    std::string file = test::writeTempFile(test::workedExampleFile(), "stdout.rsc");
    test::CliResult copied = test::runCli({"copy", file, "-"});
    EXPECT_EQ(copied.exitStatus, 0);
    EXPECT_EQ(copied.out, bytesText(test::workedExampleFile()));
    EXPECT_EQ(copied.err, "");

    test::CliResult replaced = test::runCliWith(test::pipedFrom("cat '" + file + "'"),
                                                {"replace", "05 06", "0A 0B", "-", "-"});
    EXPECT_EQ(replaced.exitStatus, 0);
    EXPECT_EQ(replaced.out, bytesText(test::bytesFromHex(
                                "10 00 02 00 | 01 02 03 | 02 AB 48 00 69 00 | 0A 0B 07 | 04 00 07 00 0D 00 | 10 00")));
    EXPECT_EQ(replaced.err, "Make 1 replace(s)\n");

    // texts import reads its translations from standard input and writes the result there too.
    test::CliResult imported = test::runCliWith(test::pipedFrom("printf '2\\tHo\\n'"),
                                                {"texts", "import", file, "-", "-"});
    EXPECT_EQ(imported.exitStatus, 0) << imported.err;
    EXPECT_EQ(imported.out, bytesText(test::bytesFromHex(
                                "10 00 02 00 | 01 02 03 | 02 AB 48 00 6F 00 | 05 06 07 | 04 00 07 00 0D 00 | 10 00")));

    test::CliResult full = test::runCliWith(test::writingTo("/dev/full"), {"copy", file, "-"});
    EXPECT_EQ(full.exitStatus, 1);
    EXPECT_EQ(full.err, "quillet-cli: -: Disk full\n");
}

TEST(StandardStreams, StandardInputIsReadOnce)
{
    test::ScratchFolder folder;
    std::string file = test::writeTempFile(test::workedExampleFile(), "once.rsc");
    test::CliResult run = test::runCliWith(test::readingFrom(file), {"texts", "import", "-", "-", folder / "out.rsc"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "quillet-cli: -: Standard input is read only once\n");
    EXPECT_TRUE(test::namesIn(folder.path()).empty());
}

// The system says "access denied" for a folder, which sends the person looking for rights.
TEST(StandardStreams, AFolderIsNamedAsSuchWhereverAFileWasExpected)
{
    test::ScratchFolder folder;
    std::string file = test::writeTempFile(test::workedExampleFile(), "folder.rsc");
    for (const auto& command :
         {std::vector<std::string>{"list", folder.path()}, std::vector<std::string>{"copy", file, folder.path()},
          std::vector<std::string>{"texts", "import", file, folder.path(), folder / "out.rsc"}}) {
        test::CliResult run = test::runCli(command);
        EXPECT_EQ(run.exitStatus, 1) << command.front();
        EXPECT_EQ(run.err, "quillet-cli: " + folder.path() + ": Is a folder\n");
    }
    test::CliResult fromFolder = test::runCliWith(test::readingFrom(folder.path()), {"list", "-"});
    EXPECT_EQ(fromFolder.exitStatus, 1);
    EXPECT_EQ(fromFolder.err, "quillet-cli: -: Is a folder\n");
    EXPECT_TRUE(test::namesIn(folder.path()).empty());
}

}  // namespace
}  // namespace quillet
