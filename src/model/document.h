#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/file_stamp.h"
#include "model/segment.h"

namespace quillet {

class FileMapping;

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

// The loaded resource file: its index entries and its body cut into segments. The lines of the
// two lists are not stored: each is made from the document when it is shown.
struct Document {
    FileHeader header;
    IndexEntries indexTable;
    std::vector<Segment> segments;
    bool noIndex = false;
    // The mapping of the file the bytes were taken from, if they were: kept while the document
    // lives, so that a file cut short under it is still told once the bytes are the segments' own.
    std::shared_ptr<const FileMapping> mapping;
    // The file the document was read from, as it was then or as it was last taken on (see
    // takeChangedFile); nothing for a document made in memory.
    std::optional<FileStamp> file;

    // File position of the first byte of a segment's data.
    std::int64_t dataStart(const Segment& segment) const;
    // hexUpper(entry, 4) + "(" + k + ")".
    std::string indexLine(std::size_t entry) const;
    // The segment list's line of segment j, in UTF-8.
    std::string segmentLine(std::size_t j) const;
    // True once bytes of the mapped file could not be read because another program cut the file
    // short: they read as zeros.
    bool fileCutShort() const;
    // Whether another program wrote to the mapped file, or cut it short, since it was read or
    // last taken on: the bytes the person has not written then come from the file as it is now.
    // A document that holds all its bytes in memory never changes so.
    bool mappedFileChanged() const;
    // Takes on the mapped file as it is now: the bytes not written on a written page are read
    // from it again, like every other byte, and later changes are told from this state.
    void takeChangedFile();
};

}  // namespace quillet
