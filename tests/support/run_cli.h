#pragma once
#include <string>
#include <vector>

namespace quillet::test {

struct CliResult {
    int ExitStatus = -1;
    std::string Out;
    std::string Err;
};

// Runs the built quillet-cli with the arguments (each quoted for the shell).
CliResult runCli(const std::vector<std::string>& args);

}  // namespace quillet::test
