// The general help names every command and option; each command has a help of its own that
// names every option it takes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_cli.h"

namespace quillet {
namespace {

struct CommandOptions {
    std::vector<std::string> words;     // "texts", "export"
    std::vector<std::string> options;   // every option it takes, --help aside
    std::vector<std::string> operands;  // ones it takes, naming a file that is not there
};

const std::vector<CommandOptions> Commands = {
    {{"list"}, {"--codepage", "--json"}, {"missing.rsc"}},
    {{"copy"}, {"--codepage"}, {"missing.rsc", "out.rsc"}},
    {{"texts", "export"}, {"--codepage", "--format", "--po"}, {"missing.rsc"}},
    {{"texts", "import"}, {"--codepage"}, {"missing.rsc", "texts.txt", "out.rsc"}},
    {{"find"}, {"--codepage", "--hex", "--text", "--unicode"}, {"41", "missing.rsc"}},
    {{"replace"}, {"--codepage", "--hex", "--text", "--unicode"}, {"41", "42", "missing.rsc", "out.rsc"}},
};

std::string joined(const std::vector<std::string>& words)
{
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
    return text;
}

TEST(Help, TheGeneralHelpNamesEveryCommandAndOption)
{
    test::CliResult help = test::runCli({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(test::runCli({"-h"}).out, help.out);
    for (const CommandOptions& command : Commands) {
        EXPECT_NE(help.out.find("\n  " + joined(command.words) + " "), std::string::npos) << joined(command.words);
        for (const std::string& option : command.options)
            EXPECT_NE(help.out.find("\n  " + option + " "), std::string::npos) << option;
    }
    for (const char* option : {"--help", "--version"})
        EXPECT_NE(help.out.find(std::string("\n  ") + option + " "), std::string::npos) << option;
    EXPECT_NE(help.out.find("not replaced atomically"), std::string::npos);
}

TEST(Help, EachCommandHasItsOwnHelpNamingItsOptions)
{
    const std::string general = test::runCli({"--help"}).out;
    for (const CommandOptions& command : Commands) {
        SCOPED_TRACE(joined(command.words));
        std::vector<std::string> args = command.words;
        args.push_back("--help");
        test::CliResult help = test::runCli(args);
        EXPECT_EQ(help.exitStatus, 0);
        EXPECT_NE(help.out, general);
        EXPECT_EQ(help.out.rfind("Usage: quillet-cli " + joined(command.words) + " [", 0), 0u) << help.out;
        for (const std::string& option : command.options)
            EXPECT_NE(help.out.find("\n  " + option + " "), std::string::npos) << option;
        EXPECT_NE(help.out.find("\n  --help "), std::string::npos);
        EXPECT_NE(help.out.find("Exit status: "), std::string::npos);
        // Wherever --help stands among the arguments, before "--".
        args.insert(args.end() - 1, command.operands.front());
        EXPECT_EQ(test::runCli(args).out, help.out);
    }
    // "texts" alone shows the help of both of its commands.
    std::string texts = test::runCli({"texts", "--help"}).out;
    EXPECT_NE(texts.find("Usage: quillet-cli texts export "), std::string::npos);
    EXPECT_NE(texts.find("Usage: quillet-cli texts import "), std::string::npos);
}

// The help and the parser agree: every option a help names is taken (a file that is not there
// is the only trouble left).
TEST(Help, EveryOptionTheHelpNamesIsTaken)
{
    for (const CommandOptions& command : Commands) {
        for (const std::string& option : command.options) {
            std::vector<std::string> args = command.words;
            args.push_back(option);
            if (option == "--codepage") args.push_back("1252");
            if (option == "--format") args.push_back("po");
            args.insert(args.end(), command.operands.begin(), command.operands.end());
            test::CliResult run = test::runCli(args);
            EXPECT_EQ(run.err.find("unknown option"), std::string::npos) << joined(args) << ": " << run.err;
            EXPECT_NE(run.err.find("File not found"), std::string::npos) << joined(args) << ": " << run.err;
        }
    }
}

}  // namespace
}  // namespace quillet
