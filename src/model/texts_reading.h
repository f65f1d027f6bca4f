#pragma once
#include <map>
#include <optional>
#include <string>

#include "model/texts_exchange.h"

// What the readers of both texts formats share.
namespace quillet {

class NamedBlocks {
public:
    explicit NamedBlocks(const std::vector<BlockText>& blocks);

    // The block at this segment number, or nothing when that segment is no unicode block.
    const BlockText* find(std::size_t segmentNumber) const;

    // Records that `line` names the segment; the reason it may not when an earlier line did.
    std::optional<std::string> name(std::size_t segmentNumber, std::size_t line);

private:
    std::map<std::size_t, const BlockText*> blocks_;
    std::map<std::size_t, std::size_t> firstLines_;
};

// Why a new text cannot go into a block, or nothing when it fits.
std::optional<std::string> tooLongForABlock(const std::u16string& units);

}  // namespace quillet
