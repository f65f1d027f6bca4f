#include "app/editor.h"

#include <algorithm>

#include "model/edit_operations.h"
#include "model/line_format.h"
#include "views/grid_geometry.h"

namespace quillet {

namespace {

// The bytes of a segment that a grid selection covers, clipped to the segment's data: a
// selection reaching lead cells, column 0 or cells past the end never reads or writes outside.
struct Run {
    std::size_t start = 0;
    std::size_t length = 0;
};

Run selectedRun(const GridSelection& selection, int lead, std::size_t size)
{
    if (selection.startRow == selection.endRow && selection.startCol == selection.endCol)
        return Run{0, std::min<std::size_t>(1, size)};
    // Byte k sits in the cell with key k + lead + 17; the walk begins at column 1 of StartRow.
    std::int64_t firstKey = std::max(cellKey(selection.startRow, selection.startCol), cellKey(selection.startRow, 1));
    std::int64_t first = std::max<std::int64_t>(0, firstKey - lead - 17);
    std::int64_t last = std::min<std::int64_t>(static_cast<std::int64_t>(size) - 1,
                                               cellKey(selection.endRow, selection.endCol) - lead - 17);
    if (first > last) return Run{static_cast<std::size_t>(std::min<std::int64_t>(first, static_cast<std::int64_t>(size))), 0};
    return Run{static_cast<std::size_t>(first), static_cast<std::size_t>(last - first + 1)};
}

}  // namespace

void Editor::deleteCurrentSegment()
{
    if (!currentSegment()) return;
    handOverGridEditor();  // a pending byte belongs to the segment it was typed in, not the next one
    if (!prompts_.askYesNo(MessageKind::Warning, "Warning", "File may be corrupted, are you sure?")) return;
    std::size_t s = *state_.selectedSegment;
    deleteSegment(document_, s);
    if (document_.segmentLines.empty()) {
        state_.selectedSegment.reset();
        return;
    }
    state_.selectedSegment = std::min(s, document_.segmentLines.size() - 1);
    showSelectedSegment();
}

void Editor::forceUnicode()
{
    const Segment* segment = currentSegment();
    if (!segment || segment->isUnicode()) return;
    handOverGridEditor();  // the forced text shows the byte just typed
    setTextLine("");
    state_.textLineMaxLength = 0;
    state_.forceMode = true;
    state_.messagePanel = "Force unicode";
    int lead = gridLead(document_, *segment);
    GridSelection& selection = state_.selection;
    std::vector<std::uint16_t> units;
    if (selection.startRow == selection.endRow && selection.startCol == selection.endCol) {
        state_.messagePanel += " " + std::to_string(segment->size / 2) + " char(s).";
        std::int64_t lastCell = lead + static_cast<std::int64_t>(segment->size) - 1;
        selection = GridSelection{1, lead + 1, lastCell / 16 + 1, static_cast<int>(lastCell % 16) + 1};
        units = unitsOf(segment->data.data(), segment->data.size());
    } else {
        std::int64_t cells = std::abs(selection.endRow - selection.startRow) * 16 + selection.endCol - selection.startCol + 1;
        state_.messagePanel += " " + std::to_string(cells / 2) + " char(s).";
        // A character for every odd index: the byte in front of it is its low byte.
        walkSelection(selection, lead, segment->size, [&](std::int64_t p) {
            if (p % 2 == 1) units.push_back(static_cast<std::uint16_t>(segment->data[p - 1] | (segment->data[p] << 8)));
        });
    }
    fillTextLine(units);
    state_.textStripVisible = true;
    state_.focus = FocusRequest::TextLine;
}

void Editor::forceApply(std::size_t s)
{
    Segment* segment = &document_.segments[s];
    Run run = selectedRun(state_.selection, gridLead(document_, *segment), segment->data.size());
    std::size_t lineLength = state_.textLine.size();
    if (!lineUnchangedButInexact()) {
        if (2 * lineLength != run.length) {
            if (!prompts_.askYesNo(MessageKind::Warning, "Warning", "Length text incorrect!!! Resize block?")) return;
            std::size_t t = run.start;
            bool countByteMatches = t > 0 && lineLength > 0 && segment->data[t - 1] == run.length / 2;
            bool recount = countByteMatches &&
                           prompts_.askYesNo(MessageKind::Confirmation, "Confirm", "Recalculate header byte?");
            std::size_t firstMovableEntry = state_.selectedIndexLine ? *state_.selectedIndexLine + 1 : 0;
            resizeRun(document_, s, t, run.length, 2 * lineLength, firstMovableEntry);
            segment = &document_.segments[s];
            if (recount) segment->data[t - 1] = static_cast<std::uint8_t>(lineLength & 0xFF);
        }
        std::vector<std::uint16_t> units = lineUnits();
        std::size_t count = std::min<std::size_t>(segment->data.size() / 2, units.size());
        for (std::size_t i = 0; i < count && run.start + 2 * i + 1 < segment->data.size(); ++i) {
            segment->data[run.start + 2 * i] = static_cast<std::uint8_t>(units[i] & 0xFF);
            segment->data[run.start + 2 * i + 1] = static_cast<std::uint8_t>(units[i] >> 8);
        }
    }
    document_.segmentLines[s] = withHead(document_.segmentLines[s], state_.textLine);
    showSelectedSegment();
}

}  // namespace quillet
