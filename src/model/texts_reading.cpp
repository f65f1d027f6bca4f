#include "model/texts_reading.h"

#include "model/segment.h"
#include "model/translated.h"

namespace quillet {

NamedBlocks::NamedBlocks(const std::vector<BlockText>& blocks)
{
    for (const BlockText& block : blocks) blocks_[block.segmentNumber] = &block;
}

const BlockText* NamedBlocks::find(std::size_t segmentNumber) const
{
    auto found = blocks_.find(segmentNumber);
    return found == blocks_.end() ? nullptr : found->second;
}

Result<void> NamedBlocks::name(std::size_t segmentNumber, std::size_t line)
{
    auto [first, isFirst] = firstLines_.emplace(segmentNumber, line);
    if (isFirst) return {};
    return Failure{filled(translated("segment %1 is named again (first on line %2)"),
                          {std::to_string(segmentNumber), std::to_string(first->second)}),
                   line};
}

Result<void> fitsInABlock(const std::u16string& units)
{
    if (units.size() <= MaxBlockCharacters) return {};
    return Failure{
        filled(translatedPlural("the text has %n UTF-16 unit, a unicode block holds at most %1",
                                "the text has %n UTF-16 units, a unicode block holds at most %1", units.size()),
               {std::to_string(MaxBlockCharacters)})};
}

Result<void> notUtf16(std::string_view text)
{
    bool byteOrderMark = text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF";
    bool halfZero = text.size() >= 2 && (text[0] == 0) != (text[1] == 0);
    if (byteOrderMark || halfZero) return Failure{"UTF-16 is not supported, save the file as UTF-8", 1};
    return {};
}

Result<TextsRead> someEntryFound(TextsRead read, std::size_t entries)
{
    if (entries == 0) return Failure{"the file holds no texts"};
    if (read.counts.found() == 0)
        return Failure{(entries == 1 ? "its entry is not" : "none of its " + std::to_string(entries) + " entries is") +
                       std::string(" a text of the resource file: it was made for another file")};
    return read;
}

std::string summaryOf(const TextsCounts& counts)
{
    std::string summary = std::to_string(counts.applied) + " applied";
    if (counts.hasUnapplied)
        summary += ", " + std::to_string(counts.untranslated) + " untranslated, " + std::to_string(counts.fuzzy) +
                   " fuzzy, " + std::to_string(counts.notFound) + " not found";
    if (counts.unchecked > 0) summary += ", " + std::to_string(counts.unchecked) + " unchecked";
    return summary;
}

}  // namespace quillet
