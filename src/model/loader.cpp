#include "model/loader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

#include "model/body_scan.h"
#include "model/file_io.h"
#include "model/file_mapping.h"
#include "model/translated.h"

namespace quillet {

namespace {

std::uint16_t wordAt(const Bytes& image, std::size_t position)
{
    return static_cast<std::uint16_t>(image[position] | (image[position + 1] << 8));
}

// For every position X up to `last`, the entry a segment anchored at X is counted under: the
// last entry (scanning from the end of the table) whose value is at most X. Made once, so that
// each tag is a lookup however long the index is; it reaches only as far as the body scan asks,
// so that a small file makes a small table.
class TagTable {
public:
    TagTable(const IndexEntries& entries, std::uint16_t last) : last_(last)
    {
        std::vector<std::int64_t> lastEntryOfValue(std::size_t{last} + 1, -1);
        for (std::size_t k = 0; k < entries.size(); ++k)
            if (entries[k] <= last) lastEntryOfValue[entries[k]] = static_cast<std::int64_t>(k);
        // Entry numbers stay below 2^31: the index of a file the editor holds has fewer entries.
        tagOf_.resize(std::size_t{last} + 1);
        std::int64_t best = -1;
        for (std::size_t value = 0; value <= last; ++value) {
            best = std::max(best, lastEntryOfValue[value]);
            tagOf_[value] = static_cast<std::int32_t>(best);
        }
    }
    std::optional<std::size_t> entryFor(std::int64_t x) const
    {
        if (x < 0) return std::nullopt;
        std::int64_t k = tagOf_[static_cast<std::size_t>(std::min<std::int64_t>(x, last_))];
        return k < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(k));
    }

private:
    std::uint16_t last_;
    std::vector<std::int32_t> tagOf_;
};

}  // namespace

std::vector<Segment> segmentsOfBody(const std::uint8_t* bytes, std::int64_t indexOffset, const IndexEntries& entries)
{
    std::vector<Segment> segments;
    // A segment's anchor is at most the index offset: its first byte plus one, or a count byte.
    TagTable tags(entries, static_cast<std::uint16_t>(indexOffset));
    scanBody(bytes, indexOffset, cutsOf(entries), BodyStart, [&](const ScannedSegment& scanned) {
        Segment segment;
        segment.kind = scanned.kind;
        segment.offset = anchorOf(scanned.kind, scanned.firstPosition);
        const std::uint8_t* data = bytes + scanned.dataStart();
        segment.data = Bytes(data, data + scanned.dataLength);
        segment.number = segments.size() + 1;
        // A data segment is counted under the entry at its first byte plus one (its anchor + 2).
        segment.tag = tags.entryFor(segment.isUnicode() ? scanned.firstPosition : scanned.firstPosition + 1);
        segments.push_back(std::move(segment));
        return true;
    });
    return segments;
}

namespace {

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

// Entries arrive as little-endian words; on other machines they are turned round.
void entriesFromLittleEndian(IndexEntries& entries)
{
    if constexpr (std::endian::native != std::endian::little)
        for (std::uint16_t& entry : entries) entry = static_cast<std::uint16_t>((entry >> 8) | (entry << 8));
}

Document rawDocument(SegmentBytes bytes, const std::uint8_t* firstBytes)
{
    Document document;
    keepHeader(document, bytes.size(), firstBytes);
    document.noIndex = true;
    Segment whole;
    whole.number = 1;
    whole.data = std::move(bytes);
    document.segments.push_back(std::move(whole));
    return document;
}

Document rawDocument(Bytes image)
{
    const Bytes first(image.begin(),
                      image.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(4, image.size())));
    return rawDocument(SegmentBytes(std::move(image)), first.data());
}

// `message` says the length %1 and the largest %2.
std::string tooLarge(std::uint64_t length, std::uint64_t largest, const char* message)
{
    return filled(message, {std::to_string(length), std::to_string(largest)});
}

// A file without an index is mapped, not read: nothing of it is read until it is shown or
// searched. Where mapping is not possible it is read whole.
Document rawDocumentOf(const ReadOnlyFile& file, const Bytes& first)
{
    if (file.isLocal()) {
        if (auto mapping = FileMapping::map(file.descriptor(), file.size())) {
            Document document = rawDocument(SegmentBytes(mapping, 0, file.size()), first.data());
            document.mapping = std::move(mapping);
            return document;
        }
    }
    if (file.size() > MaxReadLength)
        throw IoError(tooLarge(file.size(), MaxReadLength,
                               translated("File too large: %1 bytes, the editor holds "
                                          "at most %2 when it cannot be mapped")));
    return rawDocument(file.readAt(0, static_cast<std::size_t>(file.size())));
}

// The entries, read a piece at a time so that a long index tells how far it is.
IndexEntries readEntries(const ReadOnlyFile& file, std::uint16_t indexOffset, Progress& progress)
{
    IndexEntries entries(entryCount(file.size(), indexOffset));
    constexpr std::size_t PieceEntries = ProgressStep / 2;
    for (std::size_t k = 0; k < entries.size(); k += PieceEntries) {
        std::size_t count = std::min(PieceEntries, entries.size() - k);
        file.readAt(indexOffset + 2 * std::uint64_t{k}, entries.data() + k, 2 * count);
        if (!progress.report(2 * (k + count), 2 * entries.size())) throw WorkCancelled();
    }
    entriesFromLittleEndian(entries);
    return entries;
}

// `head` holds the file's bytes before the index: all that the body scan reads.
Document indexedDocument(const Bytes& head, std::uint64_t length, IndexEntries entries)
{
    Document document;
    keepHeader(document, length, head.data());
    document.indexTable = std::move(entries);
    document.segments = segmentsOfBody(head.data(), wordAt(head, 0), document.indexTable);
    return document;
}

}  // namespace

// An index offset past the end would send the scan beyond the file: such a file is held raw.
bool passesIndexTest(std::uint16_t firstWord, std::uint16_t lastWord, std::uint64_t length)
{
    return firstWord == lastWord && firstWord <= length;
}

Document parseResource(Bytes image)
{
    if (image.size() < 4 || !passesIndexTest(wordAt(image, 0), wordAt(image, image.size() - 2), image.size()))
        return rawDocument(std::move(image));
    std::uint16_t indexOffset = wordAt(image, 0);
    IndexEntries entries(entryCount(image.size(), indexOffset));
    if (!entries.empty()) std::memcpy(entries.data(), image.data() + indexOffset, entries.size() * 2);
    entriesFromLittleEndian(entries);
    return indexedDocument(image, image.size(), std::move(entries));
}

namespace {
// Reads only what the rules need: the index test's two words, then for an indexed file the
// bytes before its index (at most 64 KiB) and the entries; a raw file is mapped.
Document loadOpened(const ReadOnlyFile& file, Progress& progress)
{
    std::uint64_t length = file.size();
    if (length < 4) return rawDocument(file.readAt(0, static_cast<std::size_t>(length)));
    Bytes first = file.readAt(0, 4);
    Bytes last = file.readAt(length - 2, 2);
    if (!passesIndexTest(wordAt(first, 0), wordAt(last, 0), length)) return rawDocumentOf(file, first);
    if (length > MaxReadLength)
        throw IoError(tooLarge(length, MaxReadLength,
                               translated("File too large: %1 bytes, the editor holds at "
                                          "most %2 with an index")));
    std::uint16_t indexOffset = wordAt(first, 0);
    Bytes head = indexOffset >= 4 ? file.readAt(0, indexOffset) : first;
    IndexEntries entries = readEntries(file, indexOffset, progress);
    return indexedDocument(head, length, std::move(entries));
}
}  // namespace

Document loadResource(const std::string& path)
{
    NoProgress progress;
    return loadResource(path, progress);
}

// Pieces read while another program wrote the file may not belong together.
Document loadResource(const std::string& path, Progress& progress)
{
    ReadOnlyFile file(path);
    Document document = loadOpened(file, progress);
    if (file.changedSinceOpened()) throw FileChangedWhileRead("open it again once it is written");
    document.file = file.stamp();
    return document;
}

}  // namespace quillet
