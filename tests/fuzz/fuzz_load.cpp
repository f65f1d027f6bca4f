// Loads any bytes as a resource file: every list line builds, the segments follow the body scan's
// rules and cover the body in order, and saving the unchanged document gives the file back but
// for what the file rules leave out (the stray byte of an odd-length index area, the second
// header word of a 4-byte file, an index offset below 4 or at the trailer). The saved file loads
// as the same document, and saving that again writes the same bytes.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "model/loader.h"
#include "model/saver.h"

namespace quillet::fuzz {
namespace {

std::vector<std::string> allLines(const Document& document)
{
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < document.indexTable.size(); ++k) lines.push_back(document.indexLine(k));
    lines.push_back("--");
    for (std::size_t j = 0; j < document.segments.size(); ++j) lines.push_back(document.segmentLine(j));
    return lines;
}

std::size_t entryCountOf(const Bytes& image)
{
    std::int64_t count = (static_cast<std::int64_t>(image.size()) - wordAt(image, 0) - 2) / 2;
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

// The positions the index points at.
std::vector<bool> entryPositions(const Document& document)
{
    std::vector<bool> isEntry(65536, false);
    for (std::uint16_t entry : document.indexTable) isEntry[entry] = true;
    return isEntry;
}

// The tag a segment anchored at `anchor` gets: the last entry at or below it.
std::optional<std::size_t> plainTag(const Document& document, std::int64_t anchor)
{
    for (std::size_t k = document.indexTable.size(); k-- > 0;)
        if (document.indexTable[k] <= anchor) return k;
    return std::nullopt;
}

void checkRaw(const Document& document, const Bytes& image)
{
    require(document.indexTable.empty(), "a raw file has no index");
    require(document.segments.size() == 1, "a raw file is one segment");
    requireSame(document.segments[0].data.copy(0, document.segments[0].data.size()), image,
                "a raw file's segment holds the whole file");
}

// Each segment starts where the one before ended, from byte 4 to the index, and is what the
// body scan makes of those bytes: data cut at every entry but the last body byte, a block only
// where a pending byte can be its count and its text ends before the index.
void checkBody(const Document& document, const Bytes& image)
{
    const std::int64_t indexOffset = wordAt(image, 0);
    const std::int64_t lastBodyByte = indexOffset - 1;
    const bool checkTags = document.indexTable.size() * document.segments.size() <= 100000;
    const std::vector<bool> isEntry = entryPositions(document);
    std::int64_t position = 4;
    for (std::size_t j = 0; j < document.segments.size(); ++j) {
        const Segment& segment = document.segments[j];
        require(segment.number == j + 1, "segments are numbered in order from 1");
        const auto size = static_cast<std::int64_t>(segment.data.size());
        std::int64_t anchor = position;
        if (segment.isUnicode()) {
            require(segment.offset == position, "a block's offset is its count byte");
            require(size % 2 == 0 && image[position] == size / 2, "a block's count byte counts its characters");
            require(image[position + 1] == UnicodeMarker, "a block's marker follows its count byte");
            require(!isEntry[static_cast<std::size_t>(position + 1)], "a marker at an entry is data");
            require(position + 1 + size <= lastBodyByte, "a block's text ends before the index");
            requireSame(segment.data.copy(0, segment.data.size()),
                        Bytes(image.begin() + position + 2, image.begin() + position + 2 + size),
                        "a block holds its text");
            position += 2 + size;
        } else {
            require(segment.offset + 1 == position, "a data segment's offset is its first byte less one");
            require(size > 0, "a loaded data segment holds bytes");
            require(position + size <= indexOffset, "data ends at the index");
            requireSame(segment.data.copy(0, segment.data.size()),
                        Bytes(image.begin() + position, image.begin() + position + size),
                        "a data segment holds its bytes");
            for (std::int64_t p = position + 1; p < position + size && p < lastBodyByte; ++p) {
                require(!isEntry[static_cast<std::size_t>(p)], "data is cut at every entry");
                bool startsBlock = image[p] == UnicodeMarker && p + 2 * image[p - 1] <= lastBodyByte;
                require(!startsBlock, "a marker with a count byte in front and room for its text starts a block");
            }
            anchor = position + 1;
            position += size;
        }
        if (checkTags && segment.tag != plainTag(document, anchor))
            fail("a segment takes the tag of the last entry at or below it");
    }
    require(position == std::max<std::int64_t>(indexOffset, 4), "the segments cover the body");
}

// What saving writes for an indexed file, read off the file rules: the index offset it now has,
// the second header word unless the file was 4 bytes long, the body, the whole entries, the
// index offset again.
Bytes expectedSave(const Document& document, const Bytes& image)
{
    const std::size_t indexOffset = wordAt(image, 0);
    const auto written = static_cast<std::uint16_t>(bytesBeforeIndex(document));
    Bytes expected = {static_cast<std::uint8_t>(written & 0xFF), static_cast<std::uint8_t>(written >> 8)};
    if (image.size() > 4) expected.insert(expected.end(), image.begin() + 2, image.begin() + 4);
    if (indexOffset > 4)
        expected.insert(expected.end(), image.begin() + 4, image.begin() + static_cast<std::ptrdiff_t>(indexOffset));
    auto entries = image.begin() + static_cast<std::ptrdiff_t>(indexOffset);
    expected.insert(expected.end(), entries, entries + static_cast<std::ptrdiff_t>(2 * entryCountOf(image)));
    expected.push_back(static_cast<std::uint8_t>(written & 0xFF));
    expected.push_back(static_cast<std::uint8_t>(written >> 8));
    return expected;
}

// A file in which every byte has its place: it must come back byte for byte.
bool isWellFormed(const Bytes& image)
{
    const std::size_t indexOffset = wordAt(image, 0);
    return image.size() > 4 && indexOffset >= 4 && indexOffset + 2 <= image.size() &&
           (image.size() - indexOffset) % 2 == 0;
}

void checkIndexed(const Document& document, const Bytes& image)
{
    const std::size_t count = entryCountOf(image);
    require(document.indexTable.size() == count, "the index holds every whole entry");
    for (std::size_t k = 0; k < count; ++k)
        require(document.indexTable[k] == wordAt(image, wordAt(image, 0) + 2 * k), "entries are read as they stand");
    require(document.header.length == image.size(), "the header keeps the file's length");
    checkBody(document, image);
    Bytes saved = savedImage(document);
    requireSame(saved, expectedSave(document, image), "an unchanged document saves as the file rules say");
    if (isWellFormed(image)) requireSame(saved, image, "a well-formed file saves byte for byte");
}

}  // namespace
}  // namespace quillet::fuzz

// libFuzzer calls this name.
// NOLINTNEXTLINE(readability-identifier-naming)
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace quillet;
    using namespace quillet::fuzz;
    const Bytes image(data, data + size);
    const Document document = parseResource(image);
    const std::vector<std::string> lines = allLines(document);
    if (document.noIndex)
        checkRaw(document, image);
    else
        checkIndexed(document, image);

    const Bytes saved = savedImage(document);
    requireSame(savedImage(document), saved, "saving twice writes the same bytes");
    const Document reloaded = parseResource(saved);
    require(reloaded.noIndex == document.noIndex, "a saved file keeps or lacks its index");
    require(reloaded.indexTable == document.indexTable, "a saved file keeps its entries");
    if (allLines(reloaded) != lines) fail("a saved file loads with the same lines");
    // Saved again, the file stays as it is: at once, or after one more round for a 4-byte file,
    // whose entry became the second header word of the 6-byte file it was saved as.
    const Bytes resaved = savedImage(reloaded);
    if (image.size() == 4 && !document.noIndex)
        requireSame(savedImage(parseResource(resaved)), resaved, "a saved file's save is stable");
    else
        requireSame(resaved, saved, "a saved file saves as it was");
    return 0;
}
