#include "model/load_check.h"

#include <algorithm>
#include <type_traits>
#include <variant>

#include "model/body_scan.h"
#include "model/hex.h"
#include "model/loader.h"
#include "model/saver.h"
#include "model/translated.h"
#include "model/utf8.h"

namespace quillet {

namespace {

// A segment as the comparison sees it: where its bytes lie and what kind they are.
struct Placed {
    SegmentKind kind = SegmentKind::Data;
    std::int64_t firstPosition = 0;
    std::int64_t dataLength = 0;
    std::size_t segment = 0;  // its place in the document

    std::int64_t end() const { return firstPosition + (kind == SegmentKind::Unicode ? 2 : 0) + dataLength; }
    bool sameAs(const ScannedSegment& scanned) const
    {
        return kind == scanned.kind && firstPosition == scanned.firstPosition && dataLength == scanned.dataLength;
    }
};

// The segments shown, but empty data segments: they hold no byte and load as nothing.
std::vector<Placed> shownSegments(const Document& document)
{
    std::vector<Placed> shown;
    for (std::size_t j = 0; j < document.segments.size(); ++j) {
        const Segment& segment = document.segments[j];
        if (!segment.isUnicode() && segment.data.empty()) continue;
        shown.push_back({segment.kind, segment.firstPosition(), segment.size(), j});
    }
    return shown;
}

// The shown segment that holds a file position, or the last one before it.
std::size_t shownAt(const std::vector<Placed>& shown, std::int64_t position)
{
    auto after = std::upper_bound(shown.begin(), shown.end(), position,
                                  [](std::int64_t p, const Placed& placed) { return p < placed.firstPosition; });
    return after == shown.begin() ? 0 : static_cast<std::size_t>(after - shown.begin()) - 1;
}

LoadDifference differenceAt(const ScannedSegment& scanned, const std::vector<Placed>& shown, std::size_t i,
                            std::int64_t indexOffset)
{
    if (scanned.kind == SegmentKind::Unicode) {
        std::int64_t marker = scanned.firstPosition + 1;
        return {LoadDifferenceKind::MarkerStartsText, shown[shownAt(shown, marker)].segment, marker, {}};
    }
    const Placed& expected = shown[std::min(i, shown.size() - 1)];
    if (expected.kind == SegmentKind::Unicode) {
        std::int64_t marker = expected.firstPosition + 1;
        auto kind = marker == indexOffset - 1 ? LoadDifferenceKind::MarkerBeforeIndex
                                              : LoadDifferenceKind::TextReadAsData;
        return {kind, expected.segment, marker, {}};
    }
    return {LoadDifferenceKind::CutElsewhere, expected.segment, scanned.firstPosition, {}};
}

// How much a difference explains: a marker found or a text lost says why the cuts moved.
int weightOf(LoadDifferenceKind kind)
{
    switch (kind) {
    case LoadDifferenceKind::MarkerStartsText: return 3;
    case LoadDifferenceKind::TextReadAsData:
    case LoadDifferenceKind::MarkerBeforeIndex: return 2;
    default: return 1;
    }
}

// Walks the scan and the shown segments side by side, one difference for each stretch where they
// part (the one that best says why), until the scan is in step with them again at or past
// `stepEnd`.
class SideBySide {
public:
    SideBySide(const std::vector<Placed>& shown, std::size_t from, std::int64_t stepEnd, std::int64_t indexOffset)
        : shown_(shown), i_(from), stepEnd_(stepEnd), indexOffset_(indexOffset)
    {}

    bool take(const ScannedSegment& scanned)
    {
        if (i_ < shown_.size() && shown_[i_].sameAs(scanned)) {
            ++i_;
            endStretch();
            return !(scanned.cleanAfter && scanned.end() >= stepEnd_);
        }
        if (!shown_.empty()) {
            consider(differenceAt(scanned, shown_, i_, indexOffset_));
            // Shown segments the scan passes over in this stretch: a text among them is lost.
            for (; i_ < shown_.size() && shown_[i_].end() <= scanned.end(); ++i_)
                if (shown_[i_].kind == SegmentKind::Unicode) consider(differenceAt({}, shown_, i_, indexOffset_));
        }
        return true;
    }

    std::vector<LoadDifference> finish(bool scannedToTheEnd)
    {
        // Shown segments the scan never reached lie past the body: nothing loads them.
        if (scannedToTheEnd && i_ < shown_.size())
            consider({LoadDifferenceKind::CutElsewhere, shown_[i_].segment, shown_[i_].firstPosition, {}});
        endStretch();
        return std::move(differences_);
    }

private:
    void consider(const LoadDifference& difference)
    {
        if (!stretch_ || weightOf(difference.kind) > weightOf(stretch_->kind)) stretch_ = difference;
    }
    void endStretch()
    {
        if (stretch_) differences_.push_back(*stretch_);
        stretch_.reset();
    }

    const std::vector<Placed>& shown_;
    std::size_t i_;
    std::int64_t stepEnd_;
    std::int64_t indexOffset_;
    std::optional<LoadDifference> stretch_;
    std::vector<LoadDifference> differences_;
};

std::uint16_t wordAt(const SegmentBytes& bytes, std::size_t position)
{
    return static_cast<std::uint16_t>(bytes[position] | (bytes[position + 1] << 8));
}

// A file held without an index is saved as its bytes, which the load tests for an index again.
std::vector<LoadDifference> rawDifferences(const Document& document)
{
    if (document.segments.empty()) return {};
    const SegmentBytes& bytes = document.segments.front().data;
    if (bytes.size() < 4 || !passesIndexTest(wordAt(bytes, 0), wordAt(bytes, bytes.size() - 2), bytes.size()))
        return {};
    return {{LoadDifferenceKind::FileGetsIndex, 0, 0, {}}};
}

// The last shown segment before segment `first` at which the scan starts afresh, with nothing
// pending: a text (found from its count byte alone), a segment right behind a text, or one at an
// entry that cuts (the byte before the index never cuts). 0 for the body's start.
std::size_t cleanStartBefore(const std::vector<Placed>& shown, std::size_t first, const IndexCuts& cuts,
                             std::uint64_t indexOffset)
{
    std::size_t from = 0;
    while (from < shown.size() && shown[from].segment < first) ++from;
    for (from = from > 0 ? from - 1 : 0; from > 0; --from) {
        const Placed& placed = shown[from];
        bool behindText = shown[from - 1].kind == SegmentKind::Unicode && shown[from - 1].end() == placed.firstPosition;
        bool atCut = cuts.test(static_cast<std::size_t>(placed.firstPosition)) &&
                     placed.firstPosition < static_cast<std::int64_t>(indexOffset) - 1;
        if (placed.kind == SegmentKind::Unicode || behindText || atCut) break;
    }
    return from;
}

struct TouchedRange {
    std::optional<std::size_t> first;
    std::size_t last = 0;
    bool lengthChanged = false;
    void add(std::size_t segment)
    {
        first = std::min(first.value_or(segment), segment);
        last = std::max(last, segment);
    }
};

}  // namespace

std::optional<TouchedSegments> touchedSegments(const Change& change)
{
    TouchedRange range;
    for (const EditStep& step : change.steps) {
        std::visit(
            [&](const auto& edit) {
                using Step = std::decay_t<decltype(edit)>;
                if constexpr (std::is_same_v<Step, ReplaceWrites>) {
                    for (const BytePlace& place : edit.places) range.add(place.segment);
                } else if constexpr (std::is_same_v<Step, BodySplice>) {
                    range.add(edit.segment);
                    range.lengthChanged = range.lengthChanged || edit.removed.size() != edit.inserted.size();
                } else if constexpr (std::is_same_v<Step, SegmentRemoval>) {
                    range.add(edit.segment);
                    range.lengthChanged = true;
                } else if constexpr (std::is_same_v<Step, SegmentsReread>) {
                    // The segments are the load's own now; only a save could tell otherwise.
                } else if constexpr (!std::is_same_v<Step, ForcedTextChange>) {
                    // A line's text alone changes no byte.
                    range.add(edit.segment);
                }
            },
            step);
    }
    if (!range.first) return std::nullopt;
    return TouchedSegments{*range.first, range.last, range.lengthChanged};
}

std::vector<LoadDifference> loadDifferences(const Document& document, TouchedSegments touched)
{
    if (document.noIndex) return rawDifferences(document);
    std::uint64_t indexOffset = bytesBeforeIndex(document);
    if (indexOffset > static_cast<std::uint64_t>(MaxIndexPosition)) return {};  // saving refuses it
    Bytes image = savedHead(document);
    std::vector<Placed> shown = shownSegments(document);
    IndexCuts cuts = cutsOf(document.indexTable);
    std::size_t from = touched.lengthChanged ? 0 : cleanStartBefore(shown, touched.first, cuts, indexOffset);
    std::int64_t start = from < shown.size() && from > 0 ? shown[from].firstPosition : BodyStart;
    const auto& segments = document.segments;
    std::int64_t stepEnd = touched.last < segments.size()
                               ? segments[touched.last].firstPosition() + segments[touched.last].fileBytes()
                               : static_cast<std::int64_t>(indexOffset);
    SideBySide sides(shown, from, stepEnd, static_cast<std::int64_t>(indexOffset));
    bool toTheEnd = true;
    scanBody(image.data(), static_cast<std::int64_t>(indexOffset), cuts, start,
             [&](const ScannedSegment& scanned) { return toTheEnd = sides.take(scanned); });
    return sides.finish(toTheEnd);
}

std::vector<LoadDifference> loadDifferences(const Document& document)
{
    if (document.segments.empty())
        return document.noIndex ? std::vector<LoadDifference>{} : loadDifferences(document, {0, 0});
    return loadDifferences(document, {0, document.segments.size() - 1});
}

void nameWritingCharacters(std::vector<LoadDifference>& differences, std::int64_t textStart, std::u16string_view units)
{
    for (LoadDifference& difference : differences) {
        std::int64_t offset = difference.position - textStart;
        if (difference.kind != LoadDifferenceKind::MarkerStartsText || offset < 0 ||
            offset >= 2 * static_cast<std::int64_t>(units.size()))
            continue;
        std::size_t unit = static_cast<std::size_t>(offset / 2);
        // A surrogate pair names the character it makes.
        if (unit > 0 && isLowSurrogate(units[unit]) && isHighSurrogate(units[unit - 1])) --unit;
        bool pair = unit + 1 < units.size() && isHighSurrogate(units[unit]) && isLowSurrogate(units[unit + 1]);
        difference.character = pair ? joinedSurrogates(units[unit], units[unit + 1]) : char32_t{units[unit]};
    }
}

std::string describeLoadDifference(const LoadDifference& difference)
{
    // Whole sentences, so that a translation can order them as its language wants.
    std::string segment = std::to_string(difference.segment + 1);
    std::string at = "0x" + hexUpper(static_cast<std::uint64_t>(difference.position), 4);
    switch (difference.kind) {
    case LoadDifferenceKind::MarkerStartsText: {
        if (!difference.character)
            return filled(translated("Byte 0xAB at %1 will be read as the start of a text when the file is opened "
                                     "again, so segment %2 will load differently."),
                          {at, segment});
        std::string character;
        appendUtf8(character, *difference.character);
        return filled(translated("The character %1 (U+%2) writes the byte 0xAB at %3, which will be read as the start "
                                 "of a text when the file is opened again, so segment %4 will load differently."),
                      {character, hexUpper(*difference.character, 4), at, segment});
    }
    case LoadDifferenceKind::TextReadAsData:
        return filled(translated("The text of segment %1 will be read as data when the file is opened again: its "
                                 "marker at %2 will not be taken for one, so segment %1 will load differently."),
                      {segment, at});
    case LoadDifferenceKind::MarkerBeforeIndex:
        return filled(translated("The text of segment %1 will be read as data when the file is opened again: its "
                                 "marker at %2 is the last byte before the index, which is never read as a marker, "
                                 "so segment %1 will load differently."),
                      {segment, at});
    case LoadDifferenceKind::CutElsewhere:
        return filled(translated("The bytes from %1 on will be cut into segments at other places when the file is "
                                 "opened again, so segment %2 will load differently."),
                      {at, segment});
    case LoadDifferenceKind::FileGetsIndex:
        return translated("The file's first and last words will be equal, so it will be read as a file with an index "
                          "when it is opened again and will load differently.");
    }
    return {};
}

}  // namespace quillet
