#pragma once
#include <string>
#include <vector>

namespace quillet::test {

struct CliResult {
    int exitStatus = -1;  // -1 when a signal ended it
    std::string out;
    std::string err;
};

// Runs the built quillet-cli with the arguments (each quoted for the shell).
CliResult runCli(const std::vector<std::string>& args);
// The same, run in `folder`, so that relative names are found there.
CliResult runCliIn(const std::string& folder, const std::vector<std::string>& args);

// How a run is set up by the shell around it.
struct CliShell {
    std::string prefix;               // a command that runs the tool, such as "prlimit --as=100000000 --"
    std::string input = "/dev/null";  // what standard input reads
    std::string pipedFrom;            // a shell command whose output is standard input instead
    std::string output;               // where standard output goes; empty: read back into `out`
    // A shell command that reads standard output through a pipe (its own output is then what
    // `output` takes). The tool runs with SIGPIPE ignored, as under some services and language
    // runtimes, so that a reader that leaves early is a failed write, not a signal.
    std::string pipedInto;
};
CliResult runCliWith(const CliShell& shell, const std::vector<std::string>& args);
// Standard input from a file, or from a pipe that a shell command writes.
CliShell readingFrom(const std::string& input);
CliShell pipedFrom(const std::string& command);
// Standard output to a file or device, or through a pipe into a shell command.
CliShell writingTo(const std::string& output);
CliShell pipedInto(const std::string& reader);
// Under limits given to prlimit (in bytes: "--as=100000000 --fsize=16384"), output to `output`.
CliShell withLimits(const std::string& limits, const std::string& output = "");

// Runs the tool with a pseudo-terminal as its standard output (through script(1)), as a person
// at a terminal runs it; the terminal's CR LF line ends come back as LF.
CliResult runCliOnTerminal(const std::vector<std::string>& args);

// Whether the tool was built with AddressSanitizer, which reserves more address space than any
// `ulimit -v` leaves.
bool cliUnderAddressSanitizer();

}  // namespace quillet::test
