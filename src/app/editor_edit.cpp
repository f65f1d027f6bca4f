#include "app/editor.h"

#include <algorithm>

#include "model/edit_operations.h"
#include "model/line_format.h"
#include "views/grid_geometry.h"

namespace quillet {

namespace {
// The most characters a forced run shows: a text line longer than this is no longer usable,
// and a segment of a hundred million characters would freeze the window.
constexpr std::size_t ForcedRunLimit = 32767;
}  // namespace

void Editor::deleteCurrentSegment()
{
    if (!currentSegment()) return;
    commitTypedByte();  // a pending byte belongs to the segment it was typed in, not the next one
    if (!prompts_.askYesNo(MessageKind::Warning, "Warning", "File may be corrupted, are you sure?")) return;
    std::size_t s = *state_.selectedSegment;
    if (!editDocument(s, [&](Change& change) { deleteSegment(document_, s, change); })) return;
    if (document_.segments.empty()) {
        state_.selectedSegment.reset();
        return;
    }
    state_.selectedSegment = std::min(s, document_.segments.size() - 1);
    showSelectedSegment();
}

void Editor::forceUnicode()
{
    const Segment* segment = currentSegment();
    if (!segment || segment->isUnicode()) return;
    commitTypedByte();  // the forced text shows the byte just typed
    setTextLine(u"");
    state_.textLineMaxLength = 0;
    state_.forceMode = true;
    state_.messagePanel = "Force unicode";
    GridLayout layout = GridLayout::of(document_, *segment);
    GridSelection& selection = state_.selection;
    std::u16string units;
    if (selection.startRow == selection.endRow && selection.startCol == selection.endCol) {
        std::size_t characters = segment->data.size() / 2;
        if (characters > ForcedRunLimit) {
            // The run becomes the first characters a text line can hold, and says so.
            state_.messagePanel += " " + std::to_string(ForcedRunLimit) + " of " + std::to_string(characters) +
                                   " char(s).";
            layout.size = 2 * ForcedRunLimit;
        } else {
            state_.messagePanel += " " + std::to_string(characters) + " char(s).";
        }
        selection = layout.wholeData();
        units = unitsOf(segment->data.data(), static_cast<std::size_t>(layout.size));
    } else {
        std::int64_t cells = std::abs(selection.endRow - selection.startRow) * 16 + selection.endCol -
                             selection.startCol + 1;
        state_.messagePanel += " " + std::to_string(cells / 2) + " char(s).";
        // A character for every odd index: the byte in front of it is its low byte.
        walkSelection(selection, layout.lead, segment->size(), [&](std::int64_t p) {
            if (p % 2 == 1 && units.size() < ForcedRunLimit)
                units.push_back(static_cast<char16_t>(segment->data[p - 1] | (segment->data[p] << 8)));
        });
    }
    fillTextLine(units);
    state_.textStripVisible = true;
    state_.focus = FocusRequest::TextLine;
}

// Writes the text line over the selected run. A line of another length than the run asks to
// resize it, and may then rewrite the count byte in front of it.
void Editor::forceApply(std::size_t s)
{
    const Segment& segment = document_.segments[s];
    ByteRun run = GridLayout::of(document_, segment).runOf(state_.selection);
    const std::u16string& line = state_.textLine;
    if (!lineUnchangedButInexact()) {
        bool resize = 2 * line.size() != run.length;
        if (resize && !prompts_.askYesNo(MessageKind::Warning, "Warning", "Length text incorrect!!! Resize block?"))
            return;
        std::size_t t = run.start;
        bool countByteMatches = resize && t > 0 && !line.empty() && segment.data[t - 1] == run.length / 2;
        bool recount = countByteMatches &&
                       prompts_.askYesNo(MessageKind::Confirmation, "Confirm", "Recalculate header byte?");
        bool done = editDocument(s, [&](Change& change) {
            Bytes written = bytesOfUnits(line);
            // Without a resize the characters fill the run; an odd last byte of it stays.
            std::size_t replaced = resize ? run.length : written.size();
            const SegmentBytes& data = document_.segments[s].data;
            bool same = !resize &&
                        std::equal(written.begin(), written.end(), data.begin() + static_cast<std::ptrdiff_t>(t));
            if (!same) change.steps.push_back(spliceSegment(document_, s, t, replaced, std::move(written)));
            if (recount) writeByte(document_, s, t - 1, static_cast<std::uint8_t>(line.size() & 0xFF), change);
            if (resize) clearForcedTexts(document_, s + 1, change);
            setForcedText(document_, s, line, change);
        });
        if (!done) return;
    } else {
        editDocument(s, [&](Change& change) { setForcedText(document_, s, line, change); });
    }
    showSelectedSegment();
}

}  // namespace quillet
