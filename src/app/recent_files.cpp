#include "app/recent_files.h"

#include <algorithm>

namespace quillet {

namespace {
bool fitsSettings(const std::string& path)
{
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    return !path.empty() && path.find_first_of("\r\n") == std::string::npos && !isBlank(path.front()) &&
           !isBlank(path.back());
}

std::string keyOf(std::size_t number)
{
    return "File" + std::to_string(number);
}
}  // namespace

std::vector<std::string> withRecentFile(std::vector<std::string> files, const std::string& path, std::size_t kept)
{
    if (!fitsSettings(path)) return files;
    files.erase(std::remove(files.begin(), files.end(), path), files.end());
    files.insert(files.begin(), path);
    if (files.size() > kept) files.resize(kept);
    return files;
}

std::vector<std::string> readRecentFiles(const IniFile& ini, std::size_t kept)
{
    std::vector<std::string> files;
    for (std::size_t number = 1; number <= kept; ++number) {
        std::string path = ini.readString(RecentFilesSection, keyOf(number), "");
        if (!path.empty() && std::find(files.begin(), files.end(), path) == files.end()) files.push_back(path);
    }
    return files;
}

void writeRecentFiles(IniFile& ini, const std::vector<std::string>& files)
{
    ini.clearSection(RecentFilesSection);
    for (std::size_t n = 0; n < files.size(); ++n) ini.writeString(RecentFilesSection, keyOf(n + 1), files[n]);
}

}  // namespace quillet
