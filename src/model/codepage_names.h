#pragma once
#include <optional>
#include <string_view>

namespace quillet {

// The code page number named by "1251", "CP1251", "windows-1251" (any case), when it is one of
// the Windows code pages the program knows.
std::optional<int> codePageNumberFromName(std::string_view name);

// The ANSI code page Windows uses for the language (and territory) of a locale name such as
// "ru_RU.UTF-8" or "sr_RS@latin"; 1252 for anything it does not single out.
int codePageNumberForLocale(std::string_view localeName);

}  // namespace quillet
