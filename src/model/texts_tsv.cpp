#include "model/line_reader.h"
#include "model/texts_exchange.h"
#include "model/texts_reading.h"
#include "model/utf16_text.h"
#include "model/utf8.h"

namespace quillet {

namespace {

// The change one non-empty line asks for, or why it cannot be applied.
std::optional<TextChange> changeOfLine(std::string_view line, NamedBlocks& named, std::size_t number,
                                       std::string& reason)
{
    std::size_t tab = line.find('\t');
    std::string digits(line.substr(0, tab));
    if (tab == std::string_view::npos || digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        reason = "expected a segment number, a TAB and the text";
        return std::nullopt;
    }
    std::size_t segment = std::stoul(digits);
    if (named.find(segment) == nullptr) {
        reason = "segment " + digits + " is not a unicode block";
        return std::nullopt;
    }
    auto units = unitsFromEscapedUtf8(line.substr(tab + 1), reason);
    if (!units) return std::nullopt;
    if (auto tooLong = tooLongForABlock(*units)) {
        reason = *tooLong;
        return std::nullopt;
    }
    if (auto again = named.name(segment, number)) {
        reason = *again;
        return std::nullopt;
    }
    return TextChange{segment, std::move(*units)};
}

}  // namespace

std::string writeTsv(const std::vector<BlockText>& blocks)
{
    std::string out;
    for (const BlockText& block : blocks)
        out += std::to_string(block.segmentNumber) + "\t" + escapedUtf8FromUnits(block.units) + "\n";
    return out;
}

TextsReading readTsv(std::string_view text, const std::vector<BlockText>& blocks)
{
    NamedBlocks named(blocks);
    TextsReading reading;
    LineReader lines(text);
    while (auto line = lines.next()) {
        if (line->empty()) continue;
        std::string reason;
        auto change = changeOfLine(*line, named, lines.lineNumber(), reason);
        if (!change) return {{}, TextsError{lines.lineNumber(), reason}};
        reading.changes.push_back(std::move(*change));
    }
    return reading;
}

}  // namespace quillet
