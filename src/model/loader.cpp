#include "model/loader.h"

#include <algorithm>
#include <bit>
#include <bitset>
#include <cstring>
#include <optional>

#include "model/codepage.h"
#include "model/file_io.h"
#include "model/line_format.h"

namespace quillet {

namespace {

std::uint16_t wordAt(const Bytes& image, std::size_t position)
{
    return static_cast<std::uint16_t>(image[position] | (image[position + 1] << 8));
}

// For every position X of the 16-bit range, the entry a segment anchored at X is counted under:
// the last entry (scanning from the end of the table) whose value is at most X. Made once, so
// that each tag is a lookup however long the index is.
class TagTable {
public:
    explicit TagTable(const IndexEntries& entries)
    {
        std::vector<std::int64_t> lastEntryOfValue(65536, -1);
        for (std::size_t k = 0; k < entries.size(); ++k) lastEntryOfValue[entries[k]] = static_cast<std::int64_t>(k);
        // Entry numbers stay below 2^31: the index of a file the editor holds has fewer entries.
        tagOf_.resize(65536);
        std::int64_t best = -1;
        for (std::size_t value = 0; value < 65536; ++value) {
            best = std::max(best, lastEntryOfValue[value]);
            tagOf_[value] = static_cast<std::int32_t>(best);
        }
    }
    std::optional<std::size_t> entryFor(std::int64_t x) const
    {
        if (x < 0) return std::nullopt;
        std::int64_t k = tagOf_[static_cast<std::size_t>(std::min<std::int64_t>(x, 65535))];
        return k < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(k));
    }

private:
    std::vector<std::int32_t> tagOf_;
};

// The body scan: data segments cut at every index entry, unicode blocks found by their marker.
class BodyScanner {
public:
    BodyScanner(const Bytes& image, std::int64_t indexOffset, Document& document, const CodePage& codePage)
        : image_(image), indexOffset_(indexOffset), document_(document), codePage_(codePage),
          tags_(document.indexTable)
    {
        for (std::uint16_t entry : document.indexTable) isCut_.set(entry);
    }

    void run()
    {
        const std::int64_t lastBodyPosition = indexOffset_ - 1;
        std::int64_t p = 4;
        while (p < lastBodyPosition) {
            if (isCut_.test(static_cast<std::size_t>(p))) flush();
            if (startsBlock(p)) {
                p = takeBlock(p);
            } else {
                takeDataByte(p);
                ++p;
            }
        }
        if (p == lastBodyPosition) {
            takeDataByte(p);
            flush();
        }
    }

private:
    // A marker starts a block only when a pending byte can be its count and the text ends
    // before the index: otherwise the marker is data, so every body byte lands in one segment.
    bool startsBlock(std::int64_t p) const
    {
        if (image_[p] != UnicodeMarker || pendingLength_ == 0) return false;
        std::int64_t textEnd = p + 2 * image_[p - 1];  // position of the text's last byte
        return textEnd <= indexOffset_ - 1;
    }

    std::int64_t takeBlock(std::int64_t p)
    {
        --pendingLength_;  // the count byte belongs to the block
        flush();
        pendingStart_ = -1;
        Segment block;
        block.kind = KindUnicode;
        block.offset = static_cast<std::uint16_t>(p - 1);
        block.size = 2 * image_[p - 1];
        block.data.assign(image_.begin() + p + 1, image_.begin() + p + 1 + block.size);
        std::string text = displayText(block.data, codePage_);
        append(std::move(block), tags_.entryFor(p - 1), text);
        return p + 1 + 2 * image_[p - 1];
    }

    void takeDataByte(std::int64_t p)
    {
        if (pendingLength_ == 0) pendingStart_ = p;
        ++pendingLength_;
    }

    // Ends the pending data segment and appends it, when it holds bytes.
    void flush()
    {
        if (pendingLength_ == 0) return;
        Segment segment;
        segment.kind = KindData;
        segment.offset = static_cast<std::uint16_t>(pendingStart_ - 1);
        segment.size = static_cast<std::int32_t>(pendingLength_);
        segment.data.assign(image_.begin() + pendingStart_, image_.begin() + pendingStart_ + pendingLength_);
        std::string range = dataRange(segment);
        append(std::move(segment), tags_.entryFor(pendingStart_ + 1), range);
        pendingLength_ = 0;
    }

    void append(Segment segment, std::optional<std::size_t> entry, const std::string& rest)
    {
        document_.segments.push_back(std::move(segment));
        document_.segmentLines.push_back(sequenceNumber(document_.segments.size()) + indexTag(entry) + " " + rest);
    }

    const Bytes& image_;
    const std::int64_t indexOffset_;
    Document& document_;
    const CodePage& codePage_;
    TagTable tags_;
    std::bitset<65536> isCut_;
    std::int64_t pendingStart_ = -1;
    std::int64_t pendingLength_ = 0;
};

// The index test: the last word repeats the first. An index offset past the end would send the
// scan beyond the file: such a file is held raw instead.
bool hasIndex(std::uint16_t firstWord, std::uint16_t lastWord, std::uint64_t length)
{
    return firstWord == lastWord && firstWord <= length;
}

std::size_t entryCount(std::uint64_t length, std::uint16_t indexOffset)
{
    std::int64_t count = (static_cast<std::int64_t>(length) - indexOffset - 2) / 2;
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

void keepHeader(Document& document, std::uint64_t length, const std::uint8_t* firstBytes)
{
    document.header.length = length;
    if (length >= 4) {
        document.header.headerByte2 = firstBytes[2];
        document.header.headerByte3 = firstBytes[3];
    }
}

Document rawDocument(Bytes image)
{
    Document document;
    keepHeader(document, image.size(), image.data());
    document.noIndex = true;
    document.segmentLines.push_back(rawSegmentLine(image.size()));
    Segment whole;
    whole.size = static_cast<std::int32_t>(image.size());
    whole.data = std::move(image);
    document.segments.push_back(std::move(whole));
    return document;
}

// Entries arrive as little-endian words; on other machines they are turned round.
void entriesFromLittleEndian(IndexEntries& entries)
{
    if constexpr (std::endian::native != std::endian::little)
        for (std::uint16_t& entry : entries) entry = static_cast<std::uint16_t>((entry >> 8) | (entry << 8));
}

// `head` holds the file's bytes before the index: all that the body scan reads.
Document indexedDocument(const Bytes& head, std::uint64_t length, IndexEntries entries, const CodePage& codePage)
{
    Document document;
    keepHeader(document, length, head.data());
    document.indexTable = std::move(entries);
    BodyScanner(head, wordAt(head, 0), document, codePage).run();
    return document;
}

}  // namespace

Document parseResource(Bytes image, const CodePage& codePage)
{
    if (image.size() < 4 || !hasIndex(wordAt(image, 0), wordAt(image, image.size() - 2), image.size()))
        return rawDocument(std::move(image));
    std::uint16_t indexOffset = wordAt(image, 0);
    IndexEntries entries(entryCount(image.size(), indexOffset));
    if (!entries.empty()) std::memcpy(entries.data(), image.data() + indexOffset, entries.size() * 2);
    entriesFromLittleEndian(entries);
    return indexedDocument(image, image.size(), std::move(entries), codePage);
}

// Reads only what the document keeps: a raw file whole, an indexed one as the bytes before its
// index and the entries, each straight into place.
Document loadResource(const std::string& path, const CodePage& codePage)
{
    ReadOnlyFile file(path);
    std::uint64_t length = file.size();
    if (length < 4) return rawDocument(file.readAt(0, length));
    Bytes first = file.readAt(0, 4);
    Bytes last = file.readAt(length - 2, 2);
    if (!hasIndex(wordAt(first, 0), wordAt(last, 0), length)) return rawDocument(file.readAt(0, length));
    std::uint16_t indexOffset = wordAt(first, 0);
    Bytes head = indexOffset >= 4 ? file.readAt(0, indexOffset) : first;
    IndexEntries entries(entryCount(length, indexOffset));
    file.readAt(indexOffset, entries.data(), entries.size() * 2);
    entriesFromLittleEndian(entries);
    return indexedDocument(head, length, std::move(entries), codePage);
}

}  // namespace quillet
