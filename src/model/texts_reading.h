#pragma once
#include <map>
#include <string>

#include "model/texts_formats.h"

// What the readers of both texts formats share.
namespace quillet {

class NamedBlocks {
public:
    explicit NamedBlocks(const std::vector<BlockText>& blocks);

    // The block at this segment number, or nothing when that segment is no unicode block.
    const BlockText* find(std::size_t segmentNumber) const;

    // Records that `line` names the segment; fails, on that line, when an earlier line did.
    Result<void> name(std::size_t segmentNumber, std::size_t line);

private:
    std::map<std::size_t, const BlockText*> blocks_;
    std::map<std::size_t, std::size_t> firstLines_;
};

// Whether a new text fits into a block, and why not.
Result<void> fitsInABlock(const std::u16string& units);

}  // namespace quillet
