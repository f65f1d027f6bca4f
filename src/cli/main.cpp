#include <algorithm>
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
  texts import [--codepage CP] [--strict] FILE TEXTS OUT
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
  --strict        texts import: an entry whose text is not in FILE is an error
  --help          show this help
  --version       show the version

Exit status: 0 done, 1 a file error (or, for find, no hit), 2 a usage error.
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

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << "quillet-cli: a command is needed\nTry 'quillet-cli --help'.\n";
        return quillet::cli::ExitUsage;
    }
    const std::string command = args.front();
    if (command == "--help" || command == "-h") {
        std::cout << helpText();
        return quillet::cli::ExitOk;
    }
    if (command == "--version") {
        std::cout << "quillet-cli " << QUILLET_VERSION << "\n";
        return quillet::cli::ExitOk;
    }
    using namespace quillet::cli;
    struct Command {
        CommandOptions options;
        int (*run)(const Arguments&);
    };
    const std::vector<std::string> modes = {"--hex", "--text", "--unicode"};
    const std::map<std::string, Command> commands = {
        {"list", {{"list", {"--json"}, {}, true}, runList}},
        {"copy", {{"copy", {}, {}, true}, runCopy}},
        {"texts", {{"texts", {"--po", "--strict"}, {"--format"}, true}, runTexts}},
        {"find", {{"find", modes, {}, false}, runFind}},
        {"replace", {{"replace", modes, {}, false}, runReplace}},
    };
    auto found = commands.find(command);
    if (found == commands.end()) {
        std::cerr << "quillet-cli: unknown command '" << command << "'\nTry 'quillet-cli --help'.\n";
        return quillet::cli::ExitUsage;
    }
    args.erase(args.begin());
    for (const std::string& arg : args) {
        if (arg == "--") break;
        if (arg == "--help") {
            std::cout << helpText();
            return ExitOk;
        }
    }
    std::optional<Arguments> parsed = parseArguments(args, found->second.options);
    if (!parsed) return ExitUsage;
    return found->second.run(*parsed);
}
