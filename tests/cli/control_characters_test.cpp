// A text's control characters reach a terminal only as escapes, and a file name with them
// cannot forge a line of a message; to a pipe everything stays exact.
#include <gtest/gtest.h>

#include <string>

#include "support/byte_strings.h"
#include "support/resource_builder.h"
#include "support/run_cli.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

// A block of ESC [ 3 1 m, "red", LF, "x\y", 01, DEL, U+0085 (a C1 control), TAB and "é".
const char* const ControlsBlock = "11 AB 1B 00 5B 00 33 00 31 00 6D 00 72 00 65 00 64 00 0A 00 78 00 5C 00 79 00 "
                                  "01 00 7F 00 85 00 09 00 E9 00";

TEST(ControlCharacters, ListShowsThemAsEscapesToATerminalAndExactToAPipe)
{
    std::string file = test::writeTempFile(test::resourceFile({ControlsBlock}), "controls.rsc");
    test::CliResult terminal = test::runCliOnTerminal({"list", file});
    EXPECT_EQ(terminal.exitStatus, 0) << terminal.err;
    EXPECT_EQ(terminal.out, "[index]\n0004(0)\n[segments]\n"
                            "001(0) \\e[31mred\\nx\\\\y\\x01\\x7F\\u0085\\t\xC3\xA9\n");
    test::CliResult piped = test::runCli({"list", file});
    EXPECT_EQ(piped.out, "[index]\n0004(0)\n[segments]\n"
                         "001(0) \x1B[31mred\nx\\y\x01\x7F\xC2\x85\t\xC3\xA9\n");
    EXPECT_EQ(test::runCliWith(test::pipedInto("cat"), {"list", file}).out, piped.out);
}

TEST(ControlCharacters, AFileNameHoldingThemIsQuotedAndEscapedInMessages)
{
    test::ScratchFolder folder;
    const std::string forged = folder / "x\nquillet-cli: all is well";
    test::CliResult run = test::runCli({"list", forged});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "quillet-cli: '" + folder.path() + "/x\\nquillet-cli: all is well': File not found\n");

    const std::string escape = folder / "it's \x1B[2J.rsc";
    run = test::runCli({"find", "41", escape});
    EXPECT_EQ(run.err, "quillet-cli: '" + folder.path() + "/it\\'s \\e[2J.rsc': File not found\n");
    // A usage error quotes what was typed, escaped the same way.
    run = test::runCli({"list", "--bad\noption", forged});
    EXPECT_EQ(run.err, "quillet-cli: list: unknown option '--bad\\noption'\nTry 'quillet-cli --help'.\n");
    // Other names stay as they are, backslashes and quotes included.
    const std::string plain = folder / "it's a \\ name.rsc";
    EXPECT_EQ(test::runCli({"list", plain}).err, "quillet-cli: " + plain + ": File not found\n");
}

}  // namespace
}  // namespace quillet
