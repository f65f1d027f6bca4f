#include "support/run_cli.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "support/byte_strings.h"

namespace quillet::test {

namespace {
std::string quoted(const std::string& arg)
{
    std::string out = "'";
    for (char ch : arg) out += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return out + "'";
}

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

CliResult run(const std::string& folder, const CliShell& shell, const std::vector<std::string>& args)
{
    std::string outPath = shell.output.empty() ? tempPath("cli.out") : shell.output;
    std::string errPath = tempPath("cli.err");
    std::string statusPath = tempPath("cli.status");
    std::string tool = "exec " + shell.prefix + (shell.prefix.empty() ? "" : " ") + quoted(QUILLET_CLI_PATH);
    for (const std::string& arg : args) tool += " " + quoted(arg);
    tool += " 2>" + quoted(errPath);
    if (shell.pipedFrom.empty()) tool += " <" + quoted(shell.input);
    if (!shell.pipedFrom.empty()) tool = shell.pipedFrom + " | " + tool;
    // Into a reader, the tool's own status is kept aside: the pipeline's is the reader's.
    if (!shell.pipedInto.empty())
        tool = "{ (trap '' PIPE; " + tool + "); echo $? >" + quoted(statusPath) + "; } | " + shell.pipedInto;
    std::string command = "(";
    if (!folder.empty()) command += "cd " + quoted(folder) + " && ";
    command += tool + " >" + quoted(outPath) + ")";
    int status = std::system(command.c_str());
    CliResult result;
    // The subshell reports a signal that ended the tool as 128 + its number.
    result.exitStatus = WIFEXITED(status) && WEXITSTATUS(status) < 128 ? WEXITSTATUS(status) : -1;
    if (!shell.pipedInto.empty()) {
        int toolStatus = std::stoi("0" + slurp(statusPath));
        result.exitStatus = toolStatus < 128 ? toolStatus : -1;
        std::remove(statusPath.c_str());
    }
    if (shell.output.empty()) result.out = slurp(outPath);
    result.err = slurp(errPath);
    return result;
}
}  // namespace

CliResult runCli(const std::vector<std::string>& args)
{
    return runCliIn("", args);
}

CliResult runCliIn(const std::string& folder, const std::vector<std::string>& args)
{
    return run(folder, CliShell{}, args);
}

CliResult runCliWith(const CliShell& shell, const std::vector<std::string>& args)
{
    return run("", shell, args);
}

CliShell writingTo(const std::string& output)
{
    CliShell shell;
    shell.output = output;
    return shell;
}

CliShell readingFrom(const std::string& input)
{
    CliShell shell;
    shell.input = input;
    return shell;
}

CliShell pipedFrom(const std::string& command)
{
    CliShell shell;
    shell.pipedFrom = command;
    return shell;
}

CliShell pipedInto(const std::string& reader)
{
    CliShell shell;
    shell.pipedInto = reader;
    return shell;
}

CliShell withLimits(const std::string& limits, const std::string& output)
{
    CliShell shell;
    shell.prefix = "prlimit " + limits + " --";
    shell.output = output;
    return shell;
}

CliResult runCliOnTerminal(const std::vector<std::string>& args)
{
    std::string outPath = tempPath("cli-terminal.out");
    std::string errPath = tempPath("cli-terminal.err");
    std::string inner = quoted(QUILLET_CLI_PATH);
    for (const std::string& arg : args) inner += " " + quoted(arg);
    inner += " 2>" + quoted(errPath);
    std::string command = "script -qec " + quoted(inner) + " /dev/null >" + quoted(outPath) + " </dev/null";
    int status = std::system(command.c_str());
    CliResult result;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    for (char ch : slurp(outPath))
        if (ch != '\r') result.out += ch;
    result.err = slurp(errPath);
    return result;
}

bool cliUnderAddressSanitizer()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}

}  // namespace quillet::test
