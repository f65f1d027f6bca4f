#pragma once
#include <string>
#include <vector>

namespace quillet::cli {

// One option of a command, as its help shows it and as its arguments are parsed.
struct OptionHelp {
    std::string name;   // "--format"
    std::string value;  // what it takes, such as "F"; empty for an option without a value
    std::string text;   // what it does; each line after a line break is indented under the first
};

// A command as the help shows it: the general help lists it, and `quillet-cli NAME --help`
// prints its own help.
struct CommandHelp {
    std::string name;                 // "list", "texts export"
    std::string usage;                // what follows the name: "[--codepage CP] [--json] FILE"
    std::string summary;              // one line under the usage in the general help
    std::vector<OptionHelp> options;  // its own, besides --codepage and --help
    std::string details;              // what its own help says after the options, or nothing
};

// The options every command takes.
const std::vector<OptionHelp>& commonOptions();

// "Usage: ...", every command with its summary, every option once, and what holds for all.
std::string generalHelp(const std::vector<CommandHelp>& commands);
// One command's own help: its usage, summary, options and details.
std::string commandHelp(const CommandHelp& command);

}  // namespace quillet::cli
