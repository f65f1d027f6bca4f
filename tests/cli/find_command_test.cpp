#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "support/byte_strings.h"

namespace quillet {
namespace {

using test::bytesFromHex;

struct ToolRun {
    int Status = -1;
    std::string Output;
};

// Runs the tool with a shell command line; stdout is captured, stderr folded into it.
ToolRun runTool(const std::string& arguments)
{
    ToolRun run;
    std::string command = std::string(QUILLET_CLI_PATH) + " " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 256> buffer;
    while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) run.Output += buffer.data();
    int status = ::pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// Entries at 4, 7 and 13: a data segment 41 41 41 (data start 4), the block "AA" (data start 9)
// and a data segment 41 41 41 (data start 13).
const char* const ThreeSegments = "10 00 00 00 | 41 41 41 | 02 AB 41 00 41 00 | 41 41 41 | 04 00 07 00 0D 00 | 10 00";

TEST(FindCommand, PrintsEveryHitInFindNextOrderWithItsFilePosition)
{
    std::string file = test::writeTempFile(bytesFromHex(ThreeSegments), "find.rsc");
    ToolRun run = runTool("find 4141 " + file);
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Output, "1 0 00000004\n1 1 00000005\n3 0 0000000D\n3 1 0000000E\n");
    run = runTool("find --unicode --codepage 1252 A " + file);
    EXPECT_EQ(run.Output, "2 0 00000009\n2 2 0000000B\n");
}

TEST(FindCommand, ExitsWithOneWhenNothingIsFound)
{
    std::string file = test::writeTempFile(bytesFromHex(ThreeSegments), "find.rsc");
    ToolRun run = runTool("find --hex 02AB " + file);
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Output, "");
}

TEST(ReplaceCommand, ReplacesFromTheBeginningAndSavesTheResult)
{
    std::string in = test::writeTempFile(bytesFromHex(ThreeSegments), "replace-in.rsc");
    std::string out = test::tempPath("replace-out.rsc");
    ToolRun run = runTool("replace 4141 4241 " + in + " " + out);
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Output, "Make 4 replace(s)\n");
    EXPECT_EQ(test::hexOf(test::readFileBytes(out)),
              "10 00 00 00 42 42 41 02 AB 41 00 41 00 42 42 41 04 00 07 00 0D 00 10 00");
}

TEST(ReplaceCommand, RefusesTextsOfDifferentLength)
{
    std::string in = test::writeTempFile(bytesFromHex(ThreeSegments), "replace-in.rsc");
    ToolRun run = runTool("replace 41 414 " + in + " " + test::tempPath("refused.rsc"));
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Output, "quillet-cli: Length texts not equal, resize not support for this operation!\n");
}

TEST(ReplaceCommand, ReportsAFileThatCannotBeRead)
{
    ToolRun run = runTool("replace 41 42 /nonexistent/in.rsc " + test::tempPath("never.rsc"));
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Output, "quillet-cli: /nonexistent/in.rsc: File not found\n");
}

}  // namespace
}  // namespace quillet
