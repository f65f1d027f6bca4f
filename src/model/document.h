#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/resource.h"

namespace quillet {

// What saving needs of the loaded file: its length and its second header word. The bytes
// themselves are not kept, so that a large file is held once, in its segments.
struct FileHeader {
    std::uint64_t length = 0;
    std::uint8_t headerByte2 = 0;
    std::uint8_t headerByte3 = 0;
};

// The index entries: 16-bit file positions. Left uninitialised when made, as they are read
// straight from the file.
using IndexEntries = std::vector<std::uint16_t, DefaultInitAllocator<std::uint16_t>>;

// The loaded resource file: its index entries, its body cut into segments, and the lines of
// the segment list, which describe the segments in the same order. Index lines are not stored:
// each is hexUpper(entry, 4) + "(" + k + ")", made when it is read.
struct Document {
    FileHeader header;
    IndexEntries indexTable;
    std::vector<Segment> segments;
    std::vector<std::string> segmentLines;
    bool noIndex = false;

    // File position of the first byte of a segment's Data.
    std::int64_t dataStart(const Segment& segment) const;
    std::string indexLine(std::size_t entry) const;
};

}  // namespace quillet
