#include "model/line_reader.h"
#include "model/texts_formats.h"
#include "model/texts_reading.h"
#include "model/translated.h"
#include "model/utf16_text.h"
#include "model/utf8.h"

// The TAB format: one "SEGMENTNUMBER<TAB>text" line per block, the text escaped as by
// escapedUtf8FromUnits (utf16_text.h). The reader skips empty lines and takes any subset of the
// blocks in any order.
namespace quillet {

namespace {

// The change one non-empty line asks for.
Result<TextChange> changeOfLine(std::string_view line, NamedBlocks& named, std::size_t number)
{
    std::size_t tab = line.find('\t');
    std::string digits(line.substr(0, tab));
    if (tab == std::string_view::npos || digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string::npos)
        return Failure{translated("expected a segment number, a TAB and the text"), number};
    std::size_t segment = std::stoul(digits);
    if (named.find(segment) == nullptr)
        return Failure{filled(translated("segment %1 is not a unicode block"), {digits}), number};
    Result<std::u16string> units = unitsFromEscapedUtf8(line.substr(tab + 1));
    if (!units) return units.failure().onLine(number);
    if (Result<void> fits = fitsInABlock(*units); !fits) return fits.failure().onLine(number);
    if (Result<void> first = named.name(segment, number); !first) return first.failure();
    return TextChange{segment, std::move(*units)};
}

// Whether a text's first line that is not empty starts with a segment number and a TAB.
bool startsWithNumberedLine(std::string_view text)
{
    LineReader lines(text);
    while (auto line = lines.next()) {
        if (line->empty()) continue;
        std::size_t digits = line->find_first_not_of("0123456789");
        return digits > 0 && digits != std::string_view::npos && (*line)[digits] == '\t';
    }
    return false;
}

class TsvFormat final : public TextsFormat {
public:
    std::string write(std::string_view, const std::vector<BlockText>& blocks) const override
    {
        std::string out;
        for (const BlockText& block : blocks)
            out += std::to_string(block.segmentNumber) + "\t" + escapedUtf8FromUnits(block.units) + "\n";
        return out;
    }

    Result<TextChanges> read(std::string_view text, const std::vector<BlockText>& blocks) const override
    {
        NamedBlocks named(blocks);
        TextChanges changes;
        LineReader lines(text);
        while (auto line = lines.next()) {
            if (line->empty()) continue;
            Result<TextChange> change = changeOfLine(*line, named, lines.lineNumber());
            if (!change) return change.failure();
            changes.push_back(std::move(*change));
        }
        return changes;
    }

    bool recognises(std::string_view text) const override { return startsWithNumberedLine(text); }
};

}  // namespace

const TextsFormat& tsvTextsFormat()
{
    static const TsvFormat format;
    return format;
}

}  // namespace quillet
