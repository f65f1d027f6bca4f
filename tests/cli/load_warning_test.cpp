// The command-line tool warns of an edit whose saved file loads back otherwise, and still writes.
#include <gtest/gtest.h>

#include "support/byte_strings.h"
#include "support/run_cli.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

using test::bytesFromHex;

TEST(LoadWarning, AMarkerReplacedIntoDataIsWarnedOfAndTheFileStillWritten)
{
    std::string in = test::writeTempFile(
        bytesFromHex("13 00 02 00 04 41 00 42 00 43 00 44 00 45 00 46 00 47 00 04 00 13 00"), "marker-in.rsc");
    std::string out = test::tempPath("marker-out.rsc");
    test::CliResult run = test::runCli({"replace", "--hex", "41", "AB", in, out});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "Make 1 replace(s)\n");
    EXPECT_EQ(run.err, "quillet-cli: " + out +
                           ": warning: Byte 0xAB at 0x0005 will be read as the start of a text when the file is "
                           "opened again, so segment 1 will load differently.\n");
    EXPECT_EQ(test::hexOf(test::readFileBytes(out)),
              "13 00 02 00 04 AB 00 42 00 43 00 44 00 45 00 46 00 47 00 04 00 13 00");
}

// An entry inside a text goes to the text's start when the text is emptied: no warning then.
TEST(LoadWarning, ImportsThatLoadBackAsShownAreNotWarnedOf)
{
    std::string in = test::writeTempFile(bytesFromHex("0D 00 02 00 03 AB 61 00 62 00 63 00 55 04 00 0B 00 0D 00"),
                                         "inside.rsc");
    std::string texts = test::writeTempFile(bytesFromHex("31 09 61 62 63 09 0A"), "inside.txt");  // "1<TAB>abc<TAB>\n"
    std::string out = test::tempPath("inside-out.rsc");
    test::CliResult run = test::runCli({"texts", "import", in, texts, out});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "quillet-cli: " + texts + ": 1 applied\n");
    EXPECT_EQ(test::hexOf(test::readFileBytes(out)), "07 00 02 00 00 AB 55 04 00 04 00 07 00");
}

TEST(LoadWarning, EmptyingTheLastTextOfTheBodyIsWarnedOf)
{
    std::string in = test::writeTempFile(bytesFromHex("0A 00 02 00 01 02 | 01 AB 48 00 | 04 00 06 00 0A 00"),
                                         "last.rsc");
    std::string texts = test::writeTempFile(bytesFromHex("32 09 0A"), "last.txt");  // "2<TAB>\n"
    std::string out = test::tempPath("last-out.rsc");
    test::CliResult run = test::runCli({"texts", "import", in, texts, out});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_NE(run.err.find(": warning: The text of segment 2 will be read as data"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("will load differently"), std::string::npos);
}

}  // namespace
}  // namespace quillet
