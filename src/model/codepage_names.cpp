#include "model/codepage_names.h"

#include <algorithm>
#include <array>
#include <string>

namespace quillet {

namespace {

constexpr std::array KnownCodePages = {1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 874, 932, 936, 949, 950};

// In ASCII, not by the locale: under a Turkish locale tolower('I') is not 'i', and
// "WINDOWS-1251" must name the same page everywhere.
std::string lowerCase(std::string_view text)
{
    std::string result(text);
    for (char& ch : result)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return result;
}

std::optional<int> parseNumber(std::string_view digits)
{
    if (digits.empty() || digits.size() > 5) return std::nullopt;
    int number = 0;
    for (char ch : digits) {
        if (ch < '0' || ch > '9') return std::nullopt;
        number = number * 10 + (ch - '0');
    }
    return number;
}

struct LocaleParts {
    std::string language;
    std::string territory;
    std::string modifier;
};

// "ll_TT.codeset@modifier", every part but the language optional; "-" also separates.
LocaleParts splitLocale(std::string_view name)
{
    LocaleParts parts;
    std::size_t at = name.find('@');
    if (at != std::string_view::npos) {
        parts.modifier = lowerCase(name.substr(at + 1));
        name = name.substr(0, at);
    }
    name = name.substr(0, name.find('.'));
    std::size_t separator = name.find_first_of("_-");
    parts.language = lowerCase(name.substr(0, separator));
    if (separator != std::string_view::npos) parts.territory = lowerCase(name.substr(separator + 1));
    return parts;
}

int chineseCodePage(const std::string& territory)
{
    if (territory == "tw" || territory == "hk" || territory == "mo") return 950;
    return 936;
}

struct LanguageCodePage {
    std::string_view language;
    int codePage;
};

constexpr std::array<LanguageCodePage, 31> LanguageCodePages = {{
    {"ru", 1251}, {"uk", 1251}, {"bg", 1251}, {"sr", 1251}, {"be", 1251}, {"mk", 1251}, {"pl", 1250}, {"cs", 1250},
    {"sk", 1250}, {"hu", 1250}, {"ro", 1250}, {"hr", 1250}, {"sl", 1250}, {"sq", 1250}, {"bs", 1250}, {"el", 1253},
    {"tr", 1254}, {"az", 1254}, {"he", 1255}, {"yi", 1255}, {"ar", 1256}, {"fa", 1256}, {"ur", 1256}, {"lt", 1257},
    {"lv", 1257}, {"et", 1257}, {"vi", 1258}, {"th", 874},  {"ja", 932},  {"ko", 949},  {"iw", 1255},
}};

}  // namespace

std::optional<int> codePageNumberFromName(std::string_view name)
{
    std::string lower = lowerCase(name);
    std::string_view digits = lower;
    for (std::string_view prefix : {"windows-", "cp"}) {
        if (digits.starts_with(prefix)) {
            digits.remove_prefix(prefix.size());
            break;
        }
    }
    std::optional<int> number = parseNumber(digits);
    if (!number || std::ranges::find(KnownCodePages, *number) == KnownCodePages.end()) return std::nullopt;
    return number;
}

int codePageNumberForLocale(std::string_view localeName)
{
    LocaleParts parts = splitLocale(localeName);
    if (parts.language == "zh") return chineseCodePage(parts.territory);
    // Serbian written in Latin letters takes the Central European page, as on Windows.
    if (parts.language == "sr" && parts.modifier == "latin") return 1250;
    for (const LanguageCodePage& entry : LanguageCodePages)
        if (entry.language == parts.language) return entry.codePage;
    return 1252;
}

}  // namespace quillet
