#include "model/texts_po_keys.h"

#include "model/texts_po_notation.h"

namespace quillet {

PoKeys::PoKeys(const std::vector<BlockText>& blocks)
{
    for (const BlockText& block : blocks) {
        if (block.units.empty()) continue;
        bool notation = needsNotation(block.units);
        // Two texts can have one msgid (a unit 0 and the characters "\0"): the msgid is what
        // tells copies apart, as the tools read the file.
        keys_.push_back({&block, notation, std::nullopt, poTextOfUnits(block.units, notation)});
        ++copies_[keys_.back().id];
    }
    std::map<std::string, std::size_t> seen;
    for (std::size_t k = 0; k < keys_.size(); ++k) {
        PoKey& key = keys_[k];
        std::size_t copies = copies_[key.id];
        if (copies > 1) key.context = "occurrence " + std::to_string(++seen[key.id]) + " of " + std::to_string(copies);
        byName_[{key.context, key.id}] = k;
        bySegment_[key.block->segmentNumber] = k;
    }
}

const PoKey* PoKeys::find(const std::optional<std::string>& context, const std::string& id) const
{
    auto found = byName_.find({context, id});
    return found == byName_.end() ? nullptr : &keys_[found->second];
}

const PoKey* PoKeys::atSegment(std::size_t segmentNumber) const
{
    auto found = bySegment_.find(segmentNumber);
    return found == bySegment_.end() ? nullptr : &keys_[found->second];
}

std::size_t PoKeys::copiesOf(const std::string& id) const
{
    auto found = copies_.find(id);
    return found == copies_.end() ? 0 : found->second;
}

}  // namespace quillet
