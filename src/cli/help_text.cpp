#include "cli/help_text.h"

#include <algorithm>

namespace quillet::cli {

namespace {

constexpr std::size_t OptionColumn = 18;  // where an option's text starts

const char* const StreamsNote =
    R"("-" as FILE, IN or TEXTS reads standard input; as OUT it writes standard output, which,
unlike a file, is not replaced atomically: a failure may leave part of the file there.
)";

const char* const ExitStatusNote = R"(Exit status: 0 done, 1 a file error, 2 a usage error;
find: 0 a hit, 1 no hit, 2 any trouble (as grep).
)";

// "  --format F      the format ...", the text's later lines under its first.
std::string optionLines(const OptionHelp& option)
{
    std::string head = "  " + option.name + (option.value.empty() ? "" : " " + option.value);
    head.resize(std::max(head.size() + 2, OptionColumn), ' ');
    std::string lines = head;
    for (char ch : option.text) {
        lines += ch;
        if (ch == '\n') lines += std::string(OptionColumn, ' ');
    }
    return lines + "\n";
}

std::string optionsPart(const std::vector<OptionHelp>& options)
{
    std::string part = "Options:\n";
    for (const OptionHelp& option : options) part += optionLines(option);
    return part;
}

// Each option once, its text led by the commands that take it: "find, replace: ...".
std::vector<OptionHelp> optionsOfAll(const std::vector<CommandHelp>& commands)
{
    std::vector<OptionHelp> options;
    std::vector<std::string> takenBy;
    for (const CommandHelp& command : commands) {
        for (const OptionHelp& option : command.options) {
            auto known = std::find_if(options.begin(), options.end(),
                                      [&](const OptionHelp& seen) { return seen.name == option.name; });
            if (known == options.end()) {
                options.push_back(option);
                takenBy.push_back(command.name);
            } else {
                takenBy[static_cast<std::size_t>(known - options.begin())] += ", " + command.name;
            }
        }
    }
    for (std::size_t i = 0; i < options.size(); ++i) options[i].text = takenBy[i] + ": " + options[i].text;
    return options;
}

}  // namespace

const std::vector<OptionHelp>& commonOptions()
{
    static const std::vector<OptionHelp> options = {
        {"--codepage", "CP",
         "the 8-bit code page of texts (1250-1258, 874, 932, 936, 949, 950;\n"
         "written 1251, CP1251 or windows-1251); default: from the locale"},
    };
    return options;
}

std::string generalHelp(const std::vector<CommandHelp>& commands)
{
    std::string help = "Usage: quillet-cli COMMAND [OPTIONS] ARGS\n"
                       "       quillet-cli COMMAND --help\n\n"
                       "Reads and writes resource files (.rsc) without a display.\n\n"
                       "Commands:\n";
    for (const CommandHelp& command : commands)
        help += "  " + command.name + " " + command.usage + "\n        " + command.summary + "\n";
    std::vector<OptionHelp> options = commonOptions();
    for (const OptionHelp& option : optionsOfAll(commands)) options.push_back(option);
    options.push_back({"--help", "", "show this help; after a command, that command's own help"});
    options.push_back({"--version", "", "show the version"});
    return help + "\n" + optionsPart(options) + "\n" + StreamsNote + "\n" + ExitStatusNote;
}

std::string commandHelp(const CommandHelp& command)
{
    std::vector<OptionHelp> options = command.options;
    options.insert(options.end(), commonOptions().begin(), commonOptions().end());
    options.push_back({"--help", "", "show this help"});
    std::string help = "Usage: quillet-cli " + command.name + " " + command.usage + "\n\n" + command.summary + "\n\n" +
                       optionsPart(options);
    if (!command.details.empty()) help += "\n" + command.details;
    return help;
}

}  // namespace quillet::cli
