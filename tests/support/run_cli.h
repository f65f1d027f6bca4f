#pragma once
#include <string>
#include <vector>

namespace quillet::test {

struct CliResult {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// Runs the built quillet-cli with the arguments (each quoted for the shell).
CliResult runCli(const std::vector<std::string>& args);
// The same, run in `folder`, so that relative names are found there.
CliResult runCliIn(const std::string& folder, const std::vector<std::string>& args);

}  // namespace quillet::test
