#pragma once
#include <string>

namespace quillet {

// The placement file's name: the program file's name with its extension replaced by ".INI"
// ("/usr/bin/quillet" gives "quillet.INI").
std::string iniFileName(const std::string& programPath);

// The folder of the program's settings: $XDG_CONFIG_HOME/quillet when that is an absolute path,
// else $HOME/.config/quillet; empty when neither is known (the file then lands in the current
// folder). The two values are passed in as the environment holds them (null when unset).
std::string configFolder(const char* xdgConfigHome, const char* home);

// The placement file of the running program, from the environment.
std::string placementIniPath(const std::string& programPath);

}  // namespace quillet
