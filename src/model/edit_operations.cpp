#include "model/edit_operations.h"

#include <algorithm>

#include "model/line_format.h"
#include "model/saver.h"

namespace quillet {

namespace {

constexpr std::int64_t LargestPosition = 0xFFFF;

// The rule for one entry when the file bytes [a, a + n) become n + delta bytes. An entry at a
// marks the start of the segment changed when the change begins at its first byte; otherwise
// (bytes added at a segment's end, or to an empty one) it marks what follows, which moves.
std::uint16_t movedEntry(std::uint16_t entry, std::int64_t a, std::int64_t n, std::int64_t delta, bool keepAtStart)
{
    if (entry < a || (entry == a && keepAtStart)) return entry;
    std::int64_t moved = entry + delta;
    if (entry < a + n || entry == a) moved = std::max(a, moved);
    // An entry past the body's end stays past it rather than wrap round into it.
    return static_cast<std::uint16_t>(std::clamp<std::int64_t>(moved, 0, LargestPosition));
}

// The entries that move, worked out before anything changes, so that a lack of memory leaves
// the document as it was.
std::vector<EntryChange> movedEntries(const Document& document, std::int64_t a, std::int64_t n, std::int64_t delta,
                                      bool keepAtStart)
{
    std::vector<EntryChange> changes;
    if (delta == 0 || document.noIndex) return changes;
    for (std::size_t k = 0; k < document.indexTable.size(); ++k) {
        std::uint16_t before = document.indexTable[k];
        std::uint16_t after = movedEntry(before, a, n, delta, keepAtStart);
        if (after != before) changes.push_back({k, before, after});
    }
    return changes;
}

void applyEntries(Document& document, const std::vector<EntryChange>& changes)
{
    for (const EntryChange& change : changes) document.indexTable[change.entry] = change.after;
}

void refuseOverflow(const Document& document, std::int64_t delta)
{
    if (document.noIndex || delta <= 0) return;
    std::uint64_t before = bytesBeforeIndex(document);
    if (before + static_cast<std::uint64_t>(delta) <= static_cast<std::uint64_t>(LargestPosition)) return;
    throw EditRefused("The change would put the index at byte " + std::to_string(before + delta) +
                      ", past the 65535 an index offset can hold. Nothing was changed.");
}

std::uint16_t shifted(std::uint16_t position, std::int64_t delta)
{
    return static_cast<std::uint16_t>(static_cast<std::int64_t>(position) + delta);
}

}  // namespace

BodySplice spliceSegment(Document& document, std::size_t s, std::size_t from, std::size_t count, Bytes inserted)
{
    Segment& segment = document.segments[s];
    std::int64_t delta = static_cast<std::int64_t>(inserted.size()) - static_cast<std::int64_t>(count);
    refuseOverflow(document, delta);
    BodySplice splice;
    splice.segment = s;
    splice.from = from;
    bool block = segment.isUnicode();
    std::int64_t a = block ? segment.offset : document.dataStart(segment) + static_cast<std::int64_t>(from);
    std::int64_t n = block ? 2 + segment.size() : static_cast<std::int64_t>(count);
    bool keepAtStart = block || (from == 0 && !segment.data.empty());
    splice.entries = movedEntries(document, a, n, delta, keepAtStart);
    splice.removed = segment.data.copy(from, count);
    splice.inserted = std::move(inserted);
    segment.data.splice(from, count, splice.inserted.data(), splice.inserted.size());
    for (std::size_t j = s + 1; j < document.segments.size(); ++j)
        document.segments[j].offset = shifted(document.segments[j].offset, delta);
    applyEntries(document, splice.entries);
    return splice;
}

SegmentRemoval removeSegment(Document& document, std::size_t s)
{
    SegmentRemoval removal;
    removal.segment = s;
    const Segment& segment = document.segments[s];
    std::int64_t taken = segment.size() + (segment.isUnicode() ? 2 : 0);
    std::int64_t a = segment.isUnicode() ? segment.offset : document.dataStart(segment);
    removal.entries = movedEntries(document, a, taken, -taken, true);
    applyEntries(document, removal.entries);
    removal.removed = std::move(document.segments[s]);
    document.segments.erase(document.segments.begin() + static_cast<std::ptrdiff_t>(s));
    for (std::size_t j = s; j < document.segments.size(); ++j)
        document.segments[j].offset = shifted(document.segments[j].offset, -taken);
    return removal;
}

void setForcedText(Document& document, std::size_t s, std::optional<std::u16string> text, Change& change)
{
    Segment& segment = document.segments[s];
    if (segment.forcedText == text) return;
    change.steps.push_back(ForcedTextChange{s, segment.forcedText, text});
    segment.forcedText = std::move(text);
}

void clearForcedTexts(Document& document, std::size_t first, Change& change)
{
    for (std::size_t j = first; j < document.segments.size(); ++j)
        if (document.segments[j].forcedText) setForcedText(document, j, std::nullopt, change);
}

void deleteSegment(Document& document, std::size_t s, Change& change)
{
    change.steps.push_back(removeSegment(document, s));
    clearForcedTexts(document, 0, change);
}

void applyUnicodeText(Document& document, std::size_t s, std::u16string_view units, Change& change)
{
    if (units.size() > MaxBlockCharacters)
        throw EditRefused("The text has " + std::to_string(units.size()) +
                          " characters, a unicode block holds at most 255. Nothing was changed.");
    Bytes bytes = bytesOfUnits(units);
    const SegmentBytes& data = document.segments[s].data;
    bool same = bytes.size() == data.size() && std::equal(bytes.begin(), bytes.end(), data.begin());
    if (!same) change.steps.push_back(spliceSegment(document, s, 0, data.size(), std::move(bytes)));
    clearForcedTexts(document, s, change);
}

void writeByte(Document& document, std::size_t s, std::size_t index, std::uint8_t value, Change& change)
{
    std::uint8_t& byte = document.segments[s].data[index];
    change.steps.push_back(ByteWrite{s, index, byte, value});
    byte = value;
}

}  // namespace quillet
