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

// Refuses a text in UTF-16, which the formats are not read in: one that starts with a UTF-16
// byte order mark, or with a character whose other byte is 0.
Result<void> notUtf16(std::string_view text);

// The reading of a file with `entries` entries (PO entries, TAB lines), refused when it has none
// or when none of them is a text of the file: it was made for another file.
Result<TextsRead> someEntryFound(TextsRead read, std::size_t entries);

}  // namespace quillet
