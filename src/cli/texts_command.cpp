#include <fstream>
#include <iostream>
#include <map>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "model/edit_operations.h"
#include "model/line_format.h"
#include "model/utf16_text.h"

namespace quillet::cli {

namespace {

int exportTexts(const Document& document)
{
    std::string out;
    for (std::size_t j = 0; j < document.segments.size(); ++j) {
        const Segment& segment = document.segments[j];
        if (!segment.isUnicode()) continue;
        out += std::to_string(j + 1) + "\t" + escapedUtf8FromUnits(unitsOf(segment.data.data(), segment.data.size())) + "\n";
    }
    std::cout << out;
    return std::cout.good() ? ExitOk : ExitFailure;
}

// Reads "NUMBER<TAB>TEXT" lines into new texts by segment index; reports the first bad line.
std::optional<std::map<std::size_t, std::vector<std::uint16_t>>> readTexts(const std::string& path,
                                                                             const Document& document)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        reportError(path, "cannot be read");
        return std::nullopt;
    }
    std::map<std::size_t, std::vector<std::uint16_t>> texts;
    std::string line;
    for (std::size_t number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        auto fail = [&](const std::string& reason) {
            reportError(path + ":" + std::to_string(number), reason);
            return std::nullopt;
        };
        std::size_t tab = line.find('\t');
        std::string digits = line.substr(0, tab);
        if (tab == std::string::npos || digits.empty() || digits.size() > 9 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            return fail("expected a segment number, a TAB and the text");
        std::size_t segment = std::stoul(digits);
        if (segment == 0 || segment > document.segments.size() || !document.segments[segment - 1].isUnicode())
            return fail("segment " + digits + " is not a unicode block");
        std::string error;
        auto units = unitsFromEscapedUtf8(std::string_view(line).substr(tab + 1), error);
        if (!units) return fail(error);
        if (units->size() > MaxBlockCharacters)
            return fail("the text has " + std::to_string(units->size()) +
                        " UTF-16 units, a unicode block holds at most 255");
        texts[segment - 1] = std::move(*units);
    }
    if (in.bad()) {
        reportError(path, "cannot be read");
        return std::nullopt;
    }
    return texts;
}

}  // namespace

int runTexts(const std::vector<std::string>& arguments)
{
    std::vector<std::string> args = arguments;
    CodePage codePage = CodePage::system();
    if (!takeCodePage(args, codePage)) return ExitUsage;
    takeFlag(args, "--");
    if (auto option = firstOption(args)) return usageError("texts: unknown option '" + *option + "'");
    if (args.empty() || (args[0] != "export" && args[0] != "import")) return usageError("texts needs export or import");
    bool exporting = args[0] == "export";
    if (args.size() != (exporting ? 2u : 4u))
        return usageError(exporting ? "texts export needs FILE" : "texts import needs FILE, TEXTS and OUT");
    auto document = loadOrReport(args[1], codePage);
    if (!document) return ExitFailure;
    if (exporting) return exportTexts(*document);

    auto texts = readTexts(args[2], *document);
    if (!texts) return ExitFailure;
    for (const auto& [segment, units] : *texts) applyUnicodeText(*document, segment, units, codePage);
    return saveOrReport(*document, args[3]) ? ExitOk : ExitFailure;
}

}  // namespace quillet::cli
