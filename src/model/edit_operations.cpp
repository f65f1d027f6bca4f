#include "model/edit_operations.h"

#include <algorithm>

#include "model/codepage.h"
#include "model/line_format.h"

namespace quillet {

namespace {
std::uint16_t shifted(std::uint16_t position, std::int64_t delta)
{
    return static_cast<std::uint16_t>(static_cast<std::int64_t>(position) + delta);  // modulo 65536
}

// Moves every entry from `firstEntry` on that lies above `anchor`.
void shiftEntriesAbove(Document& document, std::uint16_t anchor, std::int64_t delta, std::size_t firstEntry = 0)
{
    for (std::size_t k = firstEntry; k < document.indexTable.size(); ++k)
        if (document.indexTable[k] > anchor) document.indexTable[k] = shifted(document.indexTable[k], delta);
}

void shiftSegmentsFrom(Document& document, std::size_t first, std::int64_t delta)
{
    for (std::size_t j = first; j < document.segments.size(); ++j)
        document.segments[j].offset = shifted(document.segments[j].offset, delta);
}
}  // namespace

void rebuildDataLines(Document& document, std::size_t first)
{
    for (std::size_t j = first; j < document.segments.size(); ++j)
        if (!document.segments[j].isUnicode())
            document.segmentLines[j] = withHead(document.segmentLines[j], dataRange(document.segments[j]));
}

void deleteSegment(Document& document, std::size_t s)
{
    const Segment& removed = document.segments[s];
    std::int64_t taken = removed.size + (removed.isUnicode() ? 2 : 0);
    shiftEntriesAbove(document, removed.offset, -taken);
    shiftSegmentsFrom(document, s, -taken);
    document.segments.erase(document.segments.begin() + static_cast<std::ptrdiff_t>(s));
    document.segmentLines.erase(document.segmentLines.begin() + static_cast<std::ptrdiff_t>(s));
    rebuildDataLines(document, 0);
}

void applyUnicodeText(Document& document, std::size_t s, const std::vector<std::uint16_t>& units,
                      const CodePage& codePage)
{
    Segment& block = document.segments[s];
    std::int64_t newSize = 2 * static_cast<std::int64_t>(units.size());
    std::int64_t shrink = block.size - newSize;
    if (shrink != 0) {
        shiftEntriesAbove(document, block.offset, -shrink);
        shiftSegmentsFrom(document, s + 1, -shrink);
        block.size = static_cast<std::int32_t>(newSize);
        block.data.resize(static_cast<std::size_t>(newSize));
    }
    for (std::size_t i = 0; i < units.size(); ++i) {
        block.data[2 * i] = static_cast<std::uint8_t>(units[i] & 0xFF);
        block.data[2 * i + 1] = static_cast<std::uint8_t>(units[i] >> 8);
    }
    document.segmentLines[s] = withHead(document.segmentLines[s], displayText(block.data, codePage));
    rebuildDataLines(document, s);
}

void resizeRun(Document& document, std::size_t s, std::size_t t, std::size_t n, std::size_t newLength,
               std::size_t firstMovableEntry)
{
    Segment& segment = document.segments[s];
    std::int64_t delta = static_cast<std::int64_t>(newLength) - static_cast<std::int64_t>(n);
    Bytes& data = segment.data;
    if (delta > 0) {
        data.resize(data.size() + static_cast<std::size_t>(delta), 0);
        std::move_backward(data.begin() + static_cast<std::ptrdiff_t>(t + n),
                           data.end() - static_cast<std::ptrdiff_t>(delta), data.end());
    } else if (delta < 0) {
        std::move(data.begin() + static_cast<std::ptrdiff_t>(t + n), data.end(),
                  data.begin() + static_cast<std::ptrdiff_t>(t + newLength));
        data.resize(data.size() - static_cast<std::size_t>(-delta));
    }
    segment.size = static_cast<std::int32_t>(data.size());
    shiftSegmentsFrom(document, s + 1, delta);
    shiftEntriesAbove(document, segment.offset, delta, firstMovableEntry);
    rebuildDataLines(document, s);
}

}  // namespace quillet
