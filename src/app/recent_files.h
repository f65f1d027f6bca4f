#pragma once
#include <string>
#include <vector>

#include "app/ini_file.h"

namespace quillet {

// The section of the program's settings that keeps the files opened or saved lately.
inline const char* const RecentFilesSection = "RecentFiles";

// The list with `path` first: an earlier place of the same path is dropped, and the list keeps
// at most `kept` files. A path the settings file cannot hold as it is (a line break, blanks at
// either end) is not remembered.
std::vector<std::string> withRecentFile(std::vector<std::string> files, const std::string& path, std::size_t kept);

// The list as the section holds it ("File1" to "FileN", newest first; empty values are skipped),
// and the list written into it, replacing what it held.
std::vector<std::string> readRecentFiles(const IniFile& ini, std::size_t kept);
void writeRecentFiles(IniFile& ini, const std::vector<std::string>& files);

}  // namespace quillet
