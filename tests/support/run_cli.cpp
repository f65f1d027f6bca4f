#include "support/run_cli.h"

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
}  // namespace

CliResult runCli(const std::vector<std::string>& args)
{
    return runCliIn("", args);
}

CliResult runCliIn(const std::string& folder, const std::vector<std::string>& args)
{
    std::string outPath = tempPath("cli.out");
    std::string errPath = tempPath("cli.err");
    std::string command = (folder.empty() ? "" : "cd " + quoted(folder) + " && ") + quoted(QUILLET_CLI_PATH);
    for (const std::string& arg : args) command += " " + quoted(arg);
    command += " >" + quoted(outPath) + " 2>" + quoted(errPath) + " </dev/null";
    int status = std::system(command.c_str());
    CliResult result;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = slurp(outPath);
    result.err = slurp(errPath);
    return result;
}

}  // namespace quillet::test
