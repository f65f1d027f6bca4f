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
    std::size_t Start = 0;
    std::size_t Length = 0;
};

Run selectedRun(const GridSelection& selection, int lead, std::size_t size)
{
    if (selection.StartRow == selection.EndRow && selection.StartCol == selection.EndCol)
        return Run{0, std::min<std::size_t>(1, size)};
    // Byte k sits in the cell with key k + lead + 17; the walk begins at column 1 of StartRow.
    std::int64_t firstKey = std::max(cellKey(selection.StartRow, selection.StartCol), cellKey(selection.StartRow, 1));
    std::int64_t first = std::max<std::int64_t>(0, firstKey - lead - 17);
    std::int64_t last = std::min<std::int64_t>(static_cast<std::int64_t>(size) - 1,
                                               cellKey(selection.EndRow, selection.EndCol) - lead - 17);
    if (first > last) return Run{static_cast<std::size_t>(std::min<std::int64_t>(first, static_cast<std::int64_t>(size))), 0};
    return Run{static_cast<std::size_t>(first), static_cast<std::size_t>(last - first + 1)};
}

}  // namespace

void Editor::ToolButton3Click()
{
    if (!currentSegment()) return;
    handOverGridEditor();  // a pending byte belongs to the segment it was typed in, not the next one
    if (!prompts_.askYesNo(MessageKind::Warning, "Warning", "File may be corrupted, are you sure?")) return;
    std::size_t s = *state_.ListBox1ItemIndex;
    deleteSegment(document_, s);
    if (document_.SegmentLines.empty()) {
        state_.ListBox1ItemIndex.reset();
        return;
    }
    state_.ListBox1ItemIndex = std::min(s, document_.SegmentLines.size() - 1);
    ListBox1Click();
}

void Editor::ToolButton4Click()
{
    const TResource* segment = currentSegment();
    if (!segment || segment->isUnicode()) return;
    handOverGridEditor();  // the forced text shows the byte just typed
    setEdit1Text("");
    state_.Edit1MaxLength = 0;
    state_.ForceMode = true;
    state_.StatusPanel1 = "Force unicode";
    int lead = gridLead(document_, *segment);
    GridSelection& selection = state_.Selection;
    std::vector<std::uint16_t> units;
    if (selection.StartRow == selection.EndRow && selection.StartCol == selection.EndCol) {
        state_.StatusPanel1 += " " + std::to_string(segment->Size / 2) + " char(s).";
        std::int64_t lastCell = lead + static_cast<std::int64_t>(segment->Size) - 1;
        selection = GridSelection{1, lead + 1, lastCell / 16 + 1, static_cast<int>(lastCell % 16) + 1};
        units = unitsOf(segment->Data.data(), segment->Data.size());
    } else {
        std::int64_t cells = std::abs(selection.EndRow - selection.StartRow) * 16 + selection.EndCol - selection.StartCol + 1;
        state_.StatusPanel1 += " " + std::to_string(cells / 2) + " char(s).";
        // A character for every odd index: the byte in front of it is its low byte.
        walkSelection(selection, lead, segment->Size, [&](std::int64_t p) {
            if (p % 2 == 1) units.push_back(static_cast<std::uint16_t>(segment->Data[p - 1] | (segment->Data[p] << 8)));
        });
    }
    fillEdit1(units);
    state_.Panel3Visible = true;
    state_.Focus = FocusRequest::Edit1;
}

void Editor::forceApply(std::size_t s)
{
    TResource* segment = &document_.Segments[s];
    Run run = selectedRun(state_.Selection, gridLead(document_, *segment), segment->Data.size());
    std::size_t lineLength = state_.Edit1Text.size();
    if (!lineUnchangedButInexact()) {
        if (2 * lineLength != run.Length) {
            if (!prompts_.askYesNo(MessageKind::Warning, "Warning", "Length text incorrect!!! Resize block?")) return;
            std::size_t t = run.Start;
            bool countByteMatches = t > 0 && lineLength > 0 && segment->Data[t - 1] == run.Length / 2;
            bool recount = countByteMatches &&
                           prompts_.askYesNo(MessageKind::Confirmation, "Confirm", "Recalculate header byte?");
            std::size_t firstMovableEntry = state_.ListBoxPageItemIndex ? *state_.ListBoxPageItemIndex + 1 : 0;
            resizeRun(document_, s, t, run.Length, 2 * lineLength, firstMovableEntry);
            segment = &document_.Segments[s];
            if (recount) segment->Data[t - 1] = static_cast<std::uint8_t>(lineLength & 0xFF);
        }
        std::vector<std::uint16_t> units = lineUnits();
        std::size_t count = std::min<std::size_t>(segment->Data.size() / 2, units.size());
        for (std::size_t i = 0; i < count && run.Start + 2 * i + 1 < segment->Data.size(); ++i) {
            segment->Data[run.Start + 2 * i] = static_cast<std::uint8_t>(units[i] & 0xFF);
            segment->Data[run.Start + 2 * i + 1] = static_cast<std::uint8_t>(units[i] >> 8);
        }
    }
    document_.SegmentLines[s] = withHead(document_.SegmentLines[s], state_.Edit1Text);
    ListBox1Click();
}

}  // namespace quillet
