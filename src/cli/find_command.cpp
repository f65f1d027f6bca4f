#include <algorithm>
#include <iostream>
#include <optional>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "model/hex.h"
#include "search/byte_search.h"
#include "search/pattern.h"
#include "views/grid_geometry.h"

namespace quillet::cli {

namespace {

const char* const LengthWarning = "Length texts not equal, resize not support for this operation!";

// The last mode flag given counts, "HEX data" by default.
PatternMode modeOf(const Arguments& args)
{
    PatternMode mode = PatternMode::HexData;
    for (const std::string& flag : args.flags) {
        if (flag == "--hex") mode = PatternMode::HexData;
        if (flag == "--text") mode = PatternMode::Text;
        if (flag == "--unicode") mode = PatternMode::TextUnicode;
    }
    return mode;
}

// The pattern of a text in a mode; a text the code page cannot hold is a usage error.
std::optional<Bytes> patternOrReport(const std::u16string& text, PatternMode mode, const CodePage& codePage)
{
    Result<Bytes> pattern = patternBytes(text, mode, codePage);
    if (!pattern) {
        usageError(pattern.failure().reason);
        return std::nullopt;
    }
    return std::move(*pattern);
}

// Find from the first segment, then "Find next" until it finds nothing or no longer moves (an
// empty pattern stays on a segment's last byte).
int printHitsInFindNextOrder(const Document& document, const Bytes& pattern, const std::string& path)
{
    CheckedOutput out(document, path);
    std::optional<SearchHit> shown;
    auto hit = document.segments.empty() ? std::nullopt : findInSegments(document.segments, 0, 0, pattern);
    while (hit && std::cout) {
        const Segment& segment = document.segments[hit->segment];
        SearchHit cell{hit->segment, shownHitIndex(hit->index, segment.data.size())};
        if (shown == cell) break;
        out << std::to_string(cell.segment + 1) + " " + std::to_string(cell.index) + " " +
                   hexUpper(static_cast<std::uint64_t>(document.dataStart(segment)) + cell.index, 8) + "\n";
        shown = cell;
        GridLayout layout = GridLayout::of(document, segment);
        std::size_t start = layout.startAfter(layout.cellOf(static_cast<std::int64_t>(cell.index)));
        hit = findInSegments(document.segments, cell.segment, start, pattern);
    }
    // "No hit" is said only of the file as it was read.
    if (!out.finish()) return ExitFindTrouble;
    return checkedOutput(shown ? ExitOk : ExitFailure, ExitFindTrouble);
}

}  // namespace

int runFind(const Arguments& args)
{
    if (args.operands.size() != 2) return usageError("expected 2 operands");  // PATTERN FILE
    PatternMode mode = modeOf(args);
    std::optional<std::u16string> text = textArgument(args.operands[0]);
    if (!text) return ExitUsage;
    std::optional<Bytes> pattern = patternOrReport(*text, mode, args.codePage);
    if (!pattern) return ExitUsage;
    auto document = loadOrReport(args.operands[1]);
    if (!document) return ExitFindTrouble;
    if (text->empty()) return ExitFailure;  // as in the window, an empty text searches for nothing
    return printHitsInFindNextOrder(*document, *pattern, args.operands[1]);
}

int runReplace(const Arguments& args)
{
    if (args.operands.size() != 4) return usageError("expected 4 operands");  // PATTERN REPLACEMENT IN OUT
    PatternMode mode = modeOf(args);
    std::optional<std::u16string> lookFor = textArgument(args.operands[0]);
    if (!lookFor) return ExitUsage;
    std::optional<std::u16string> replaceWith = textArgument(args.operands[1]);
    if (!replaceWith) return ExitUsage;
    std::optional<Bytes> pattern = patternOrReport(*lookFor, mode, args.codePage);
    if (!pattern) return ExitUsage;
    std::optional<Bytes> replacement = patternOrReport(*replaceWith, mode, args.codePage);
    if (!replacement) return ExitUsage;
    // The texts' characters are counted, whatever the mode, as the replace dialog does.
    if (patternCharacterCount(*lookFor, mode, args.codePage) !=
        patternCharacterCount(*replaceWith, mode, args.codePage)) {
        std::cerr << "quillet-cli: " << LengthWarning << "\n";
        return ExitUsage;
    }
    auto document = loadOrReport(args.operands[2]);
    if (!document) return ExitFailure;

    std::int64_t count = 0;
    if (!lookFor->empty()) {
        // Nothing is undone here: no place is kept, so the memory does not grow with the hits.
        NoProgress progress;
        count = replaceInDocument(*document, ReplaceScope{}, *pattern, *replacement, progress, ReplaceRecord::Nothing)
                    .count;
    }
    warnOfLoadDifferences(*document, args.operands[3]);
    // The count is told only once the file holds the replacements.
    if (!saveOrReport(*document, args.operands[2], args.operands[3])) return ExitFailure;
    // Standard output holds the file when OUT is "-": the count goes to stderr then.
    (args.operands[3] == StandardStream ? std::cerr : std::cout) << "Make " << count << " replace(s)\n";
    return checkedOutput(ExitOk);
}

}  // namespace quillet::cli
