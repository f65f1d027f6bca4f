#include "model/edit_operations.h"

#include <algorithm>

#include "model/change_builder.h"
#include "model/line_format.h"
#include "model/loader.h"
#include "model/saver.h"
#include "model/translated.h"

namespace quillet {

namespace {

// File bytes [a, a + n) replaced by n + delta bytes.
struct ReplacedBytes {
    std::int64_t a = 0;
    std::int64_t n = 0;
    std::int64_t delta = 0;
    // An entry at a marks the start of the segment changed, which stays: true when the change
    // begins at the segment's first byte. Otherwise (bytes added at a segment's end, or to an
    // empty one) it marks what follows, which moves.
    bool keepAtStart = false;
    // The bytes are a unicode block replaced whole: no resource can begin inside its text, so an
    // entry there goes to the block's start, never onto its marker.
    bool wholeBlock = false;
};

std::uint16_t movedEntry(std::uint16_t entry, const ReplacedBytes& bytes)
{
    const std::int64_t a = bytes.a;
    if (entry < a || (entry == a && bytes.keepAtStart)) return entry;
    bool inside = entry > a && entry < a + bytes.n;
    if (inside && bytes.wholeBlock) return static_cast<std::uint16_t>(a);
    std::int64_t moved = entry + bytes.delta;
    if (inside || entry == a) moved = std::max(a, moved);
    // An entry past the body's end stays past it rather than wrap round into it.
    return static_cast<std::uint16_t>(std::clamp<std::int64_t>(moved, 0, MaxIndexPosition));
}

// The entries that move, worked out before anything changes.
std::vector<EntryChange> movedEntries(const Document& document, const ReplacedBytes& bytes)
{
    std::vector<EntryChange> changes;
    if (bytes.delta == 0 || document.noIndex) return changes;
    for (std::size_t k = 0; k < document.indexTable.size(); ++k) {
        std::uint16_t before = document.indexTable[k];
        std::uint16_t after = movedEntry(before, bytes);
        if (after != before) changes.push_back({k, before, after});
    }
    return changes;
}

void refuseOverflow(const Document& document, std::int64_t delta)
{
    if (document.noIndex || delta <= 0) return;
    std::uint64_t before = bytesBeforeIndex(document);
    if (before + static_cast<std::uint64_t>(delta) <= static_cast<std::uint64_t>(MaxIndexPosition)) return;
    throw EditRefused(filled(translated("The change would put the index at byte %1, past the %2 an index offset can "
                                        "hold. Nothing was changed."),
                             {std::to_string(before + delta), std::to_string(MaxIndexPosition)}));
}

void addSplice(ChangeBuilder& change, const Document& document, std::size_t s, std::size_t from, std::size_t count,
               Bytes inserted)
{
    const Segment& segment = document.segments[s];
    std::int64_t delta = static_cast<std::int64_t>(inserted.size()) - static_cast<std::int64_t>(count);
    refuseOverflow(document, delta);
    BodySplice splice;
    splice.segment = s;
    splice.from = from;
    ReplacedBytes bytes;
    bytes.delta = delta;
    bytes.wholeBlock = segment.isUnicode();
    bytes.a = bytes.wholeBlock ? segment.firstPosition() : segment.dataStart() + static_cast<std::int64_t>(from);
    bytes.n = bytes.wholeBlock ? segment.fileBytes() : static_cast<std::int64_t>(count);
    bytes.keepAtStart = bytes.wholeBlock || (from == 0 && !segment.data.empty());
    splice.entries = movedEntries(document, bytes);
    splice.removed = segment.data.copy(from, count);
    splice.inserted = std::move(inserted);
    change.add(std::move(splice));
}

void addRemoval(ChangeBuilder& change, Document& document, std::size_t s)
{
    const Segment& segment = document.segments[s];
    std::int64_t taken = segment.fileBytes();
    std::vector<EntryChange> entries = movedEntries(
        document, {segment.firstPosition(), taken, -taken, true, segment.isUnicode()});
    // The segment's bytes go into the step, never copied: a mapped segment may be a gigabyte.
    change.addMade([&] { return SegmentRemoval{s, std::move(document.segments[s]), std::move(entries)}; });
}

void addForcedText(ChangeBuilder& change, const Document& document, std::size_t s, std::optional<std::u16string> text)
{
    const Segment& segment = document.segments[s];
    if (segment.forcedText == text) return;
    change.add(ForcedTextChange{s, segment.forcedText, std::move(text)});
}

// Gives every data segment from `first` on its range back in its line.
void addForcedTextsCleared(ChangeBuilder& change, const Document& document, std::size_t first)
{
    for (std::size_t j = first; j < document.segments.size(); ++j)
        if (document.segments[j].forcedText) addForcedText(change, document, j, std::nullopt);
}

void addUnicodeText(ChangeBuilder& change, const Document& document, std::size_t s, std::u16string_view units)
{
    if (units.size() > MaxBlockCharacters)
        throw EditRefused(translatedPlural("The text has %n character, a unicode block holds at most 255. Nothing "
                                           "was changed.",
                                           "The text has %n characters, a unicode block holds at most 255. Nothing "
                                           "was changed.",
                                           units.size()));
    Bytes bytes = bytesOfUnits(units);
    const SegmentBytes& data = document.segments[s].data;
    bool same = bytes.size() == data.size() && data.copy(0, data.size()) == bytes;
    if (!same) addSplice(change, document, s, 0, data.size(), std::move(bytes));
    addForcedTextsCleared(change, document, s);
}

}  // namespace

Change spliceSegment(Document& document, std::size_t s, std::size_t from, std::size_t count, Bytes inserted)
{
    return buildChange(document, [&](ChangeBuilder& change) {
        change.showSegment(s);
        addSplice(change, document, s, from, count, std::move(inserted));
    });
}

Change removeSegment(Document& document, std::size_t s)
{
    return buildChange(document, [&](ChangeBuilder& change) {
        change.showSegment(s);
        addRemoval(change, document, s);
    });
}

Change deleteSegment(Document& document, std::size_t s)
{
    return buildChange(document, [&](ChangeBuilder& change) {
        change.showSegment(s);
        addRemoval(change, document, s);
        addForcedTextsCleared(change, document, 0);
    });
}

Change applyUnicodeText(Document& document, std::size_t s, std::u16string_view units)
{
    return buildChange(document, [&](ChangeBuilder& change) {
        change.showSegment(s);
        addUnicodeText(change, document, s, units);
    });
}

Change applyTexts(Document& document, const std::vector<TextChange>& texts)
{
    return buildChange(document, [&](ChangeBuilder& change) {
        if (!texts.empty()) change.showSegment(texts.front().segmentNumber - 1);
        for (const TextChange& text : texts) {
            std::size_t s = text.segmentNumber - 1;
            if (text.segmentNumber == 0 || s >= document.segments.size() || !document.segments[s].isUnicode())
                throw EditRefused(filled(translated("Segment %1 is not a unicode block. Nothing was changed."),
                                         {std::to_string(text.segmentNumber)}));
            addUnicodeText(change, document, s, text.units);
        }
    });
}

Change writeByte(Document& document, std::size_t s, std::size_t index, std::uint8_t value)
{
    return buildChange(document, [&](ChangeBuilder& change) {
        change.showSegment(s);
        change.add(ByteWrite{s, index, document.segments[s].data[index], value});
    });
}

bool resizesRun(const ForcedWrite& write)
{
    return 2 * write.units.size() != write.length;
}

bool runHasCountByte(const Document& document, const ForcedWrite& write)
{
    const SegmentBytes& data = document.segments[write.segment].data;
    return resizesRun(write) && write.start > 0 && !write.units.empty() && data[write.start - 1] == write.length / 2;
}

Change forceApply(Document& document, const ForcedWrite& write)
{
    return buildChange(document, [&](ChangeBuilder& change) {
        std::size_t s = write.segment;
        change.showSegment(s);
        bool resize = resizesRun(write);
        bool recount = write.recount && runHasCountByte(document, write);
        Bytes written = bytesOfUnits(write.units);
        // Without a resize the characters fill the run; an odd last byte of it stays.
        std::size_t replaced = resize ? write.length : written.size();
        bool same = !resize && document.segments[s].data.copy(write.start, written.size()) == written;
        if (!same) addSplice(change, document, s, write.start, replaced, std::move(written));
        if (recount) {
            auto count = static_cast<std::uint8_t>(write.units.size() & 0xFF);
            change.add(ByteWrite{s, write.start - 1, document.segments[s].data[write.start - 1], count});
        }
        if (resize) addForcedTextsCleared(change, document, s + 1);
        addForcedText(change, document, s, write.units);
    });
}

Change rereadSegments(Document& document)
{
    if (document.noIndex)
        throw EditRefused(
            translated("The file is held without an index: it has no segments to read again. Nothing was changed."));
    Bytes image = savedHead(document);
    auto indexOffset = static_cast<std::int64_t>(image.size());
    SegmentsReread reread{document.segments, segmentsOfBody(image.data(), indexOffset, document.indexTable)};
    return buildChange(document, [&](ChangeBuilder& change) {
        change.showSegment(0);
        change.add(std::move(reread));
    });
}

Change setForcedText(Document& document, std::size_t s, std::optional<std::u16string> text)
{
    return buildChange(document, [&](ChangeBuilder& change) {
        change.showSegment(s);
        addForcedText(change, document, s, std::move(text));
    });
}

}  // namespace quillet
