#include <algorithm>
#include <csignal>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/help_text.h"
#include "model/texts_formats.h"

namespace {

using namespace quillet::cli;

// The formats of --format, one line each, the default first.
std::string textsFormatLines()
{
    std::string lines;
    for (const quillet::TextsFormatRow& row : quillet::textsFormats()) {
        std::string name(row.name);
        name.resize(std::max<std::size_t>(name.size() + 1, 6), ' ');
        bool isDefault = &row == &quillet::textsFormats().front();
        lines += "\n  " + name + std::string(row.summary) + (isDefault ? " (default)" : "");
    }
    return lines;
}

const char* const CommonExitStatus = "Exit status: 0 done, 1 a file error, 2 a usage error.\n";

// A command: its help, from which its options are parsed too, and what runs it.
struct Command {
    CommandHelp help;
    int (*run)(const Arguments&);
    int failure = ExitFailure;        // the status of any trouble
    bool namesItselfInErrors = true;  // "list: unknown option ..." or "unknown option ..."
};

const std::vector<OptionHelp> PatternModes = {
    {"--hex", "", "the texts are hex data: pairs of hex digits, with spaces\nallowed between pairs (the default)"},
    {"--text", "", "the texts are 8-bit text in the code page"},
    {"--unicode", "", "the texts are 16-bit text (UTF-16LE), as in unicode blocks"},
};

// Every command, in the order the general help lists them. Commands of one first word ("texts
// export", "texts import") are run by one function and take the options of both.
const std::vector<Command>& commands()
{
    static const std::vector<Command> table = {
        {{"list",
          "[--codepage CP] [--json] FILE",
          "Print the index list and the segment list as the editor shows them.",
          {{"--json", "", "print the lists as JSON: each segment's kind, number, tag,\npositions, text and data"}},
          "Prints \"[index]\", a line for each index entry (its value in hex and its\n"
          "number), \"[segments]\" and a line for each segment, as the editor's lists show\n"
          "them. Texts are printed exactly, as UTF-8, to a pipe or a file; to a terminal\n"
          "their control characters show as escapes (\\n, \\e, \\x01, \\\\ for a\n"
          "backslash), as ls shows names. The JSON starts with \"format\": 1; the README\n"
          "describes each of its fields.\n\n" +
              std::string(CommonExitStatus)},
         runList},
        {{"copy",
          "[--codepage CP] IN OUT",
          "Load IN and write it to OUT as \"Save file as\" does.",
          {},
          "OUT is replaced only once it was written whole; \"-\" writes standard output,\n"
          "which is not atomic.\n\n" +
              std::string(CommonExitStatus)},
         runCopy},
        {{"texts export",
          "[--codepage CP] [--format F | --po] FILE",
          "Print every unicode block's text in the format F (see --format).",
          {{"--format", "F", "the format of the texts:" + textsFormatLines()}, {"--po", "", "the same as --format po"}},
          CommonExitStatus},
         runTexts},
        {{"texts import",
          "[--codepage CP] [--strict] FILE TEXTS OUT",
          "Give the blocks named in TEXTS their new texts and write the result to OUT.",
          {{"--strict", "", "an entry whose text is not in FILE is an error"}},
          "TEXTS is in a format of texts export, told by its content; \"-\" reads standard\n"
          "input. A line or entry that is wrong stops the import, naming TEXTS and its\n"
          "line, and nothing is written. Once OUT is written, a line on stderr says what\n"
          "was applied: \"quillet-cli: TEXTS: N applied, N untranslated, N fuzzy,\n"
          "N not found\".\n\n" +
              std::string(CommonExitStatus)},
         runTexts},
        {{"find", "[--hex|--text|--unicode] [--codepage CP] PATTERN FILE",
          "Print every hit: segment number, index in its data, file position.", PatternModes,
          "The hits come in the order Find next visits them from the first segment, one\n"
          "line each: the segment's number, the hit's index in its data and its file\n"
          "position in 8 hex digits. An empty PATTERN finds nothing.\n\n"
          "Exit status: 0 a hit, 1 no hit, 2 any trouble (as grep).\n"},
         runFind,
         ExitFindTrouble,
         false},
        {{"replace", "[--hex|--text|--unicode] [--codepage CP] PATTERN REPLACEMENT IN OUT",
          "Replace every occurrence from the beginning and write the result to OUT.", PatternModes,
          "REPLACEMENT must be as long as PATTERN. Once OUT is written, prints\n"
          "\"Make N replace(s)\" (on stderr when OUT is \"-\").\n\n" +
              std::string(CommonExitStatus)},
         runReplace,
         ExitFailure,
         false},
    };
    return table;
}

std::string firstWord(const std::string& name)
{
    return name.substr(0, name.find(' '));
}

// The commands whose name starts with `word`.
std::vector<const Command*> commandsOf(const std::string& word)
{
    std::vector<const Command*> found;
    for (const Command& command : commands())
        if (firstWord(command.help.name) == word) found.push_back(&command);
    return found;
}

std::string generalHelpText()
{
    std::vector<CommandHelp> helps;
    for (const Command& command : commands()) helps.push_back(command.help);
    return generalHelp(helps);
}

// The own help of the command the arguments name: of "texts export" for "texts export --help",
// of both texts commands for "texts --help".
std::string ownHelp(const std::vector<const Command*>& named, const std::vector<std::string>& args)
{
    std::string help;
    for (const Command* command : named) {
        std::string name = command->help.name;
        std::string second = name.find(' ') == std::string::npos ? "" : name.substr(name.find(' ') + 1);
        if (!second.empty() && std::find(args.begin(), args.end(), second) != args.end())
            return commandHelp(command->help);
        help += (help.empty() ? "" : "\n") + commandHelp(command->help);
    }
    return help;
}

bool asksForHelp(const std::vector<std::string>& args)
{
    auto end = std::find(args.begin(), args.end(), "--");
    return std::find(args.begin(), end, "--help") != end;
}

// The options of the commands of one word, as the parser takes them.
CommandOptions parsedOptions(const std::vector<const Command*>& named)
{
    CommandOptions options;
    options.name = firstWord(named.front()->help.name);
    options.namesItselfInErrors = named.front()->namesItselfInErrors;
    for (const Command* command : named)
        for (const OptionHelp& option : command->help.options)
            (option.value.empty() ? options.flags : options.valueOptions).push_back(option.name);
    return options;
}

// command is known.
int runTool(std::vector<std::string> args, int& failure)
{
    if (args.empty()) return usageError("a command is needed");
    const std::string word = args.front();
    if (word == "--help" || word == "-h") {
        std::cout << generalHelpText();
        return ExitOk;
    }
    if (word == "--version") {
        std::cout << "quillet-cli " << QUILLET_VERSION << "\n";
        return ExitOk;
    }
    std::vector<const Command*> named = commandsOf(word);
    if (named.empty()) return usageError("unknown command '" + word + "'");
    failure = named.front()->failure;
    args.erase(args.begin());
    if (asksForHelp(args)) {
        std::cout << ownHelp(named, args);
        return ExitOk;
    }
    std::optional<Arguments> parsed = parseArguments(args, parsedOptions(named));
    return parsed ? named.front()->run(*parsed) : ExitUsage;
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
