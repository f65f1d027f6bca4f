#include <string>

#include <gtest/gtest.h>

#include "support/byte_strings.h"
#include "support/run_cli.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

using test::bytesFromHex;

// Runs the tool with its stderr folded into what it prints, as a shell pipe would show both.
struct ToolRun {
    int status = -1;
    std::string output;
};

ToolRun runTool(const std::vector<std::string>& arguments)
{
    test::CliResult result = test::runCli(arguments);
    return {result.exitStatus, result.out + result.err};
}

// Entries at 4, 7 and 13: a data segment 41 41 41 (data start 4), the block "AA" (data start 9)
// and a data segment 41 41 41 (data start 13).
const char* const ThreeSegments = "10 00 00 00 | 41 41 41 | 02 AB 41 00 41 00 | 41 41 41 | 04 00 07 00 0D 00 | 10 00";

TEST(FindCommand, PrintsEveryHitInFindNextOrderWithItsFilePosition)
{
    std::string file = test::writeTempFile(bytesFromHex(ThreeSegments), "find.rsc");
    ToolRun run = runTool({"find", "4141", file});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "1 0 00000004\n1 1 00000005\n3 0 0000000D\n3 1 0000000E\n");
    run = runTool({"find", "--unicode", "--codepage", "1252", "A", file});
    EXPECT_EQ(run.output, "2 0 00000009\n2 2 0000000B\n");
}

TEST(FindCommand, ExitsWithOneWhenNothingIsFound)
{
    std::string file = test::writeTempFile(bytesFromHex(ThreeSegments), "find.rsc");
    ToolRun run = runTool({"find", "--hex", "02AB", file});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "");
}

// As grep: 1 says only "no hit", so that a script can tell it from trouble, which is 2.
TEST(FindCommand, ExitsWithTwoForAFileItCannotSearch)
{
    test::ScratchFolder folder;
    std::string missing = folder / "missing.rsc";
    ToolRun run = runTool({"find", "41", missing});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.output, "quillet-cli: " + missing + ": File not found\n");
    EXPECT_EQ(runTool({"find", "41", folder.path()}).status, 2);
    std::string fifo = folder / "fifo.rsc";
    ASSERT_TRUE(test::makeFifo(fifo));
    EXPECT_EQ(runTool({"find", "41", fifo}).status, 2);
    EXPECT_EQ(runTool({"find", "--bogus", "41", missing}).status, 2);
}

TEST(ReplaceCommand, ReplacesFromTheBeginningAndSavesTheResult)
{
    std::string in = test::writeTempFile(bytesFromHex(ThreeSegments), "replace-in.rsc");
    std::string out = test::tempPath("replace-out.rsc");
    ToolRun run = runTool({"replace", "4141", "4241", in, out});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "Make 4 replace(s)\n");
    EXPECT_EQ(test::hexOf(test::readFileBytes(out)),
              "10 00 00 00 42 42 41 02 AB 41 00 41 00 42 42 41 04 00 07 00 0D 00 10 00");
}

TEST(ReplaceCommand, RefusesTextsOfDifferentLength)
{
    std::string in = test::writeTempFile(bytesFromHex(ThreeSegments), "replace-in.rsc");
    ToolRun run = runTool({"replace", "41", "41 42", in, test::tempPath("refused.rsc")});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.output, "quillet-cli: Length texts not equal, resize not support for this operation!\n");
    // Hex texts are counted in bytes: the spaces between pairs do not count.
    EXPECT_EQ(runTool({"replace", "41 41", "4241", in, test::tempPath("equal.rsc")}).status, 0);
}

// "4X" replaced 80 zero bytes, "DE AD" looked for DE 00, a lone "4" found a billion empty hits.
TEST(FindCommand, MistypedHexIsAUsageErrorThatSaysWhere)
{
    test::ScratchFolder folder;
    std::string file = test::writeTempFile(bytesFromHex(ThreeSegments), "find.rsc");
    test::CliResult run = test::runCli({"find", "--hex", "4X", file});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "quillet-cli: \"4X\": character 2 (\"X\") is no hex digit; write each byte as two hex digits, "
                       "such as 4F 6B.\nTry 'quillet-cli --help'.\n");
    EXPECT_EQ(test::runCli({"find", "4", file}).exitStatus, 2);
    for (const auto& [lookFor, with] : {std::pair{"4X", "41"}, std::pair{"41", "4"}, std::pair{"41 4", "41 42"}}) {
        run = test::runCli({"replace", "--hex", lookFor, with, file, folder / "out.rsc"});
        EXPECT_EQ(run.exitStatus, 2) << lookFor << " " << with;
        EXPECT_NE(run.err.find("write each byte as two hex digits"), std::string::npos) << run.err;
    }
    EXPECT_TRUE(test::namesIn(folder.path()).empty());
    // Spaces between pairs are fine.
    ToolRun spaced = runTool({"find", "41 02", file});
    EXPECT_EQ(spaced.status, 1);
    EXPECT_EQ(spaced.output, "");
    EXPECT_EQ(runTool({"find", " 41 41 ", file}).output, runTool({"find", "4141", file}).output);
}

TEST(ReplaceCommand, ReportsAFileThatCannotBeRead)
{
    ToolRun run = runTool({"replace", "41", "42", "/nonexistent/in.rsc", test::tempPath("never.rsc")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "quillet-cli: /nonexistent/in.rsc: File not found\n");
}

// "?" bytes are real bytes: a character the code page lacks must not turn into one and match them.
TEST(ReplaceCommand, RefusesATextTheCodePageCannotHoldAndWritesNothing)
{
    test::ScratchFolder folder;
    std::string in = test::writeTempFile(Bytes{'W', 'h', 'y', '?', '?', ' ', 'O', 'k', '?'}, "questions.rsc");
    std::string out = folder / "out.rsc";
    test::CliResult run = test::runCli({"replace", "--text", "--codepage", "1252", "\xD0\x96", "Z", in, out});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "quillet-cli: The text holds \"\xD0\x96\", which code page 1252 has no byte for.\n"
                       "Try 'quillet-cli --help'.\n");
    EXPECT_TRUE(test::namesIn(folder.path()).empty());
    EXPECT_EQ(test::readFileBytes(in), (Bytes{'W', 'h', 'y', '?', '?', ' ', 'O', 'k', '?'}));

    // The replacement is checked as well, and find refuses such a text the same way.
    run = test::runCli({"replace", "--text", "--codepage", "1252", "Z", "\xD0\x96", in, out});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.err.find("code page 1252 has no byte for"), std::string::npos) << run.err;
    run = test::runCli({"find", "--text", "--codepage", "1252", "\xD0\x96", in});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(test::namesIn(folder.path()).empty());
}

TEST(ReplaceCommand, RefusesTextsThatAreNotUtf8)
{
    test::ScratchFolder folder;
    std::string in = test::writeTempFile(bytesFromHex(ThreeSegments), "replace-in.rsc");
    std::string out = folder / "out.rsc";
    for (const std::string& bad : {std::string("\xFF"), std::string("A\xC3"), std::string("\xED\xA0\x80")}) {
        SCOPED_TRACE(test::hexOf(Bytes(bad.begin(), bad.end())));
        test::CliResult run = test::runCli({"replace", "--text", bad, "Z", in, out});
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_NE(run.err.find("is not valid UTF-8"), std::string::npos) << run.err;
        EXPECT_EQ(test::runCli({"replace", "--unicode", "Z", bad, in, out}).exitStatus, 2);
        EXPECT_EQ(test::runCli({"find", bad, in}).exitStatus, 2);
    }
    EXPECT_TRUE(test::namesIn(folder.path()).empty());
}

// The count is told only for a file that was written.
TEST(ReplaceCommand, AnOutputThatCannotBeWrittenIsReportedWithoutACount)
{
    test::ScratchFolder folder;
    std::string in = test::writeTempFile(bytesFromHex(ThreeSegments), "replace-in.rsc");
    std::string missingFolder = folder / "missing/out.rsc";
    test::CliResult run = test::runCli({"replace", "4141", "4241", in, missingFolder});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "quillet-cli: " + missingFolder + ": File not found\n");

    // A folder where the file should go is no file to replace.
    run = test::runCli({"replace", "4141", "4241", in, folder.path()});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("quillet-cli: " + folder.path() + ": ", 0), 0u) << run.err;
    EXPECT_TRUE(test::namesIn(folder.path()).empty());
    EXPECT_EQ(test::readFileBytes(in), bytesFromHex(ThreeSegments));
}

}  // namespace
}  // namespace quillet
