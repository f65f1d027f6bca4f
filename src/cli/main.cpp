#include <algorithm>
#include <csignal>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "model/texts_formats.h"

namespace {

const char* const HelpStart = R"(Usage: quillet-cli COMMAND [OPTIONS] ARGS

Reads and writes resource files (.rsc) without a display.

Commands:
  list [--codepage CP] [--json] FILE
        Print the index list and the segment list as the editor shows them.
  copy [--codepage CP] IN OUT
        Load IN and write it to OUT as "Save file as" does.
  texts export [--codepage CP] [--format F] FILE
        Print every unicode block's text in the format F (see --format).
  texts import [--codepage CP] FILE TEXTS OUT
        Give the blocks named in TEXTS their new texts and write the result to OUT.
  find [--hex|--text|--unicode] [--codepage CP] PATTERN FILE
        Print every hit: segment number, index in its data, file position.
  replace [--hex|--text|--unicode] [--codepage CP] PATTERN REPLACEMENT IN OUT
        Replace every occurrence from the beginning and write the result to OUT.

Options:
  --codepage CP   the 8-bit code page of texts (1250-1258, 874, 932, 936, 949, 950;
                  written 1251, CP1251 or windows-1251); default: from the locale
  --format F      the format of texts export (texts import tells it by the content):
)";

const char* const HelpEnd = R"(  --po            the same as --format po
  --help          show this help
  --version       show the version

"-" as FILE, IN or TEXTS reads standard input; as OUT it writes standard output, which,
unlike a file, is not replaced atomically: a failure may leave part of the file there.

Exit status: 0 done, 1 a file error, 2 a usage error;
find: 0 a hit, 1 no hit, 2 any trouble (as grep).
)";

// One line for each value of --format.
std::string textsFormatLines()
{
    std::string lines;
    for (const quillet::TextsFormatRow& row : quillet::textsFormats()) {
        std::string name(row.name);
        name.resize(std::max<std::size_t>(name.size() + 1, 6), ' ');
        bool isDefault = &row == &quillet::textsFormats().front();
        lines += std::string(20, ' ') + name + std::string(row.summary) + (isDefault ? " (default)" : "") + "\n";
    }
    return lines;
}

std::string helpText()
{
    return HelpStart + textsFormatLines() + HelpEnd;
}

using namespace quillet::cli;

struct Command {
    CommandOptions options;
    int (*run)(const Arguments&);
    int failure = ExitFailure;  // the status of any trouble
};

const std::map<std::string, Command>& commands()
{
    static const std::vector<std::string> modes = {"--hex", "--text", "--unicode"};
    static const std::map<std::string, Command> table = {
        {"list", {{"list", {"--json"}, {}, true}, runList}},
        {"copy", {{"copy", {}, {}, true}, runCopy}},
        {"texts", {{"texts", {"--po"}, {"--format"}, true}, runTexts}},
        {"find", {{"find", modes, {}, false}, runFind, ExitFindTrouble}},
        {"replace", {{"replace", modes, {}, false}, runReplace}},
    };
    return table;
}

// Runs the command the arguments name; `failure` becomes the status of trouble as soon as the
// command is known.
int runTool(std::vector<std::string> args, int& failure)
{
    if (args.empty()) {
        std::cerr << "quillet-cli: a command is needed\nTry 'quillet-cli --help'.\n";
        return ExitUsage;
    }
    const std::string command = args.front();
    if (command == "--help" || command == "-h") {
        std::cout << helpText();
        return ExitOk;
    }
    if (command == "--version") {
        std::cout << "quillet-cli " << QUILLET_VERSION << "\n";
        return ExitOk;
    }
    auto found = commands().find(command);
    if (found == commands().end()) {
        std::cerr << "quillet-cli: unknown command '" << command << "'\nTry 'quillet-cli --help'.\n";
        return ExitUsage;
    }
    const Command& chosen = found->second;
    failure = chosen.failure;
    args.erase(args.begin());
    for (const std::string& arg : args) {
        if (arg == "--") break;
        if (arg == "--help") {
            std::cout << helpText();
            return ExitOk;
        }
    }
    std::optional<Arguments> parsed = parseArguments(args, chosen.options);
    return parsed ? chosen.run(*parsed) : ExitUsage;
}

}  // namespace

// Every exception ends here, said in one line: nothing aborts.
int main(int argc, char** argv)
{
    takeStandardOutput();
    // A file size limit makes a write fail with EFBIG, told like a full disk, instead of killing.
    std::signal(SIGXFSZ, SIG_IGN);
    int failure = ExitFailure;
    int status = failure;
    try {
        status = runTool(std::vector<std::string>(argv + 1, argv + argc), failure);
    } catch (...) {
        status = reportTrouble(std::current_exception(), failure);
    }
    return checkedOutput(status, failure);
}
