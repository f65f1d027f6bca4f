#include "model/texts_reading.h"

#include "model/segment.h"

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
    return Failure{"segment " + std::to_string(segmentNumber) + " is named again (first on line " +
                       std::to_string(first->second) + ")",
                   line};
}

Result<void> fitsInABlock(const std::u16string& units)
{
    if (units.size() <= MaxBlockCharacters) return {};
    return Failure{"the text has " + std::to_string(units.size()) + " UTF-16 units, a unicode block holds at most " +
                   std::to_string(MaxBlockCharacters)};
}

}  // namespace quillet
