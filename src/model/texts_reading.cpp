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

}  // namespace quillet
