#include "model/line_reader.h"
#include "model/texts_formats.h"
#include "model/texts_reading.h"
#include "model/translated.h"
#include "model/utf16_text.h"
#include "model/utf8.h"

// The TAB format: one "SEGMENTNUMBER<TAB>source<TAB>text" line per block, the source being the
// block's text when it was written and the text the one to give it (at first the same), both
// escaped as by escapedUtf8FromUnits (utf16_text.h), so that neither holds a raw TAB.
//
// The reader skips empty lines and takes any subset of the blocks in any order. A line applies
// only to a block whose current text is its source: a file made for another version of the
// resource file is refused at its first line that does not fit, never written onto other
// blocks. Lines of two fields ("SEGMENTNUMBER<TAB>text", as files were written before they
// carried the source) are still read and applied by number alone, and counted as unchecked.
namespace quillet {

namespace {

// The fields of a line: the segment number, the source (none on a line of two fields) and the
// text. A raw TAB inside the text is left in it, for its reader to refuse.
struct LineFields {
    std::string_view number;
    std::optional<std::string_view> source;
    std::string_view text;
};

std::optional<LineFields> fieldsOf(std::string_view line)
{
    std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    LineFields fields{line.substr(0, tab), std::nullopt, line.substr(tab + 1)};
    if (std::size_t second = fields.text.find('\t'); second != std::string_view::npos) {
        fields.source = fields.text.substr(0, second);
        fields.text.remove_prefix(second + 1);
    }
    return fields;
}

// The block a line's number names.
Result<const BlockText*> blockOfLine(const std::optional<LineFields>& fields, const NamedBlocks& named)
{
    std::string digits(fields ? fields->number : std::string_view());
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
        return Failure{"expected a segment number, a TAB, the source text, a TAB and the text"};
    const BlockText* block = named.find(std::stoul(digits));
    if (block == nullptr) return Failure{"segment " + digits + " is not a unicode block"};
    return block;
}

// Checks the line's source against the block's current text.
Result<void> checkSource(std::string_view source, const BlockText& block)
{
    Result<std::u16string> units = unitsFromEscapedUtf8(source);
    if (!units) return Failure{"in the source text: " + units.failure().reason};
    if (*units == block.units) return {};
    return Failure{"the source text is not the current text of segment " + std::to_string(block.segmentNumber) +
                   " (\"" + escapedUtf8FromUnits(block.units) +
                   "\"): the file was made for another version of the resource file"};
}

// The change one non-empty line asks for; counts it.
Result<TextChange> changeOfLine(std::string_view line, NamedBlocks& named, TextsCounts& counts)
{
    std::optional<LineFields> fields = fieldsOf(line);
    Result<const BlockText*> block = blockOfLine(fields, named);
    if (!block) return block.failure();
    if (fields->source) {
        if (Result<void> same = checkSource(*fields->source, **block); !same) return same.failure();
    } else {
        ++counts.unchecked;
    }
    Result<std::u16string> units = unitsFromEscapedUtf8(fields->text);
    if (!units) return units.failure();
    if (Result<void> fits = fitsInABlock(*units); !fits) return fits.failure();
    ++counts.applied;
    return TextChange{(*block)->segmentNumber, std::move(*units)};
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
        for (const BlockText& block : blocks) {
            std::string text = escapedUtf8FromUnits(block.units);
            out += std::to_string(block.segmentNumber) + "\t" + text + "\t" + text + "\n";
        }
        return out;
    }

    Result<TextsRead> read(std::string_view text, const std::vector<BlockText>& blocks) const override
    {
        if (Result<void> utf8 = notUtf16(text); !utf8) return utf8.failure();
        NamedBlocks named(blocks);
        TextsRead read;
        std::size_t entries = 0;
        LineReader lines(text);
        while (auto line = lines.next()) {
            if (line->empty()) continue;
            ++entries;
            std::size_t number = lines.lineNumber();
            Result<TextChange> change = changeOfLine(*line, named, read.counts);
            if (!change) return change.failure().onLine(number);
            if (Result<void> first = named.name(change->segmentNumber, number); !first) return first.failure();
            read.changes.push_back(std::move(*change));
        }
        return someEntryFound(std::move(read), entries);
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
