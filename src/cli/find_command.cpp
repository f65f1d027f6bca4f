#include <algorithm>
#include <iostream>
#include <optional>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "model/hex.h"
#include "search/byte_search.h"
#include "search/pattern.h"
#include "search/search_start.h"
#include "views/grid_geometry.h"

namespace quillet::cli {

namespace {

const char* const LengthWarning = "Length texts not equal, resize not support for this operation!";

// Takes the mode flags out of the arguments; the last one given counts, "hexUpper data" by default.
PatternMode takeMode(std::vector<std::string>& args)
{
    PatternMode mode = PatternMode::HexData;
    for (;;) {
        if (takeFlag(args, "--hex")) mode = PatternMode::HexData;
        else if (takeFlag(args, "--text")) mode = PatternMode::Text;
        else if (takeFlag(args, "--unicode")) mode = PatternMode::TextUnicode;
        else return mode;
    }
}

// What is left after the options: the operands, without a "--" that ended the options.
std::optional<std::vector<std::string>> operands(std::vector<std::string> args, std::size_t count)
{
    if (auto option = firstOption(args)) {
        usageError("unknown option '" + *option + "'");
        return std::nullopt;
    }
    auto end = std::find(args.begin(), args.end(), std::string("--"));
    if (end != args.end()) args.erase(end);
    if (args.size() != count) {
        usageError("expected " + std::to_string(count) + " operands");
        return std::nullopt;
    }
    return args;
}

// Find from the first segment, then "Find next" until it finds nothing or no longer moves (an
// empty pattern stays on a segment's last byte).
int printHitsInFindNextOrder(const Document& document, const Bytes& pattern)
{
    if (document.segments.empty()) return ExitFailure;
    std::optional<SearchHit> shown;
    auto hit = findInSegments(document.segments, 0, 0, pattern);
    while (hit) {
        const Segment& segment = document.segments[hit->segment];
        SearchHit cell{hit->segment, shownHitIndex(hit->index, segment.data.size())};
        if (shown == cell) break;
        std::cout << cell.segment + 1 << " " << cell.index << " "
                  << hexUpper(static_cast<std::uint64_t>(document.dataStart(segment)) + cell.index, 8) << "\n";
        shown = cell;
        int lead = gridLead(document, segment);
        std::size_t start = startIndexAfterCell(lead, cellOfByte(lead, static_cast<std::int64_t>(cell.index)));
        hit = findInSegments(document.segments, cell.segment, start, pattern);
    }
    return shown ? ExitOk : ExitFailure;
}

}  // namespace

int runFind(const std::vector<std::string>& args)
{
    std::vector<std::string> rest = args;
    CodePage codePage = CodePage::system();
    if (!takeCodePage(rest, codePage)) return ExitUsage;
    PatternMode mode = takeMode(rest);
    auto given = operands(rest, 2);  // PATTERN FILE
    if (!given) return ExitUsage;
    std::string text = codePage.fromUtf8((*given)[0]);
    auto document = loadOrReport((*given)[1], codePage);
    if (!document) return ExitFailure;
    if (text.empty()) return ExitFailure;  // as in the window, an empty text searches for nothing
    return printHitsInFindNextOrder(*document, patternBytes(text, mode, codePage));
}

int runReplace(const std::vector<std::string>& args)
{
    std::vector<std::string> rest = args;
    CodePage codePage = CodePage::system();
    if (!takeCodePage(rest, codePage)) return ExitUsage;
    PatternMode mode = takeMode(rest);
    auto given = operands(rest, 4);  // PATTERN REPLACEMENT IN OUT
    if (!given) return ExitUsage;
    std::string lookFor = codePage.fromUtf8((*given)[0]);
    std::string replaceWith = codePage.fromUtf8((*given)[1]);
    // The texts' characters are counted, whatever the mode, as the replace dialog does.
    if (lookFor.size() != replaceWith.size()) {
        std::cerr << "quillet-cli: " << LengthWarning << "\n";
        return ExitUsage;
    }
    auto document = loadOrReport((*given)[2], codePage);
    if (!document) return ExitFailure;

    std::int64_t count = 0;
    if (!lookFor.empty()) {
        Bytes pattern = patternBytes(lookFor, mode, codePage);
        Bytes replacement = patternBytes(replaceWith, mode, codePage);
        count = replaceInSegments(document->segments, 0, 0, pattern, replacement);
    }
    std::cout << "Make " << count << " replace(s)\n";
    return saveOrReport(*document, (*given)[3]) ? ExitOk : ExitFailure;
}

}  // namespace quillet::cli
