#include "app/config_path.h"

#include <cstdlib>
#include <filesystem>

namespace quillet {

std::string iniFileName(const std::string& programPath)
{
    std::filesystem::path name = std::filesystem::path(programPath).filename();
    if (name.empty()) name = "quillet";
    return name.replace_extension(".INI").string();
}

std::string configFolder(const char* xdgConfigHome, const char* home)
{
    // A relative XDG_CONFIG_HOME is invalid and is ignored, as the base directory rules ask.
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/')
        return (std::filesystem::path(xdgConfigHome) / "quillet").string();
    if (home != nullptr && home[0] != '\0') return (std::filesystem::path(home) / ".config" / "quillet").string();
    return std::string();
}

std::string placementIniPath(const std::string& programPath)
{
    std::filesystem::path folder = configFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    return (folder / iniFileName(programPath)).string();
}

}  // namespace quillet
