#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/resource.h"

namespace quillet {

// What saving needs of the loaded file: its length and its second header word. The bytes
// themselves are not kept, so that a large file is held once, in its segments.
struct FileImage {
    std::uint64_t Length = 0;
    std::uint8_t HeaderByte2 = 0;
    std::uint8_t HeaderByte3 = 0;
};

// The index entries: 16-bit file positions. Left uninitialised when made, as they are read
// straight from the file.
using IndexEntries = std::vector<std::uint16_t, DefaultInitAllocator<std::uint16_t>>;

// The loaded resource file: its index entries, its body cut into segments, and the lines of
// the segment list, which describe the segments in the same order. Index lines are not stored:
// each is HEX(entry, 4) + "(" + k + ")", made when it is read.
struct Document {
    FileImage Image;
    IndexEntries IndexTable;
    std::vector<TResource> Segments;
    std::vector<std::string> SegmentLines;
    bool NoIndex = false;

    // File position of the first byte of a segment's Data.
    std::int64_t dataStart(const TResource& segment) const;
    std::string indexLine(std::size_t entry) const;
};

}  // namespace quillet
