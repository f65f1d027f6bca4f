#include "app/editor.h"

#include <algorithm>

#include "model/edit_operations.h"
#include "model/line_format.h"
#include "model/load_check.h"
#include "model/translated.h"
#include "views/grid_geometry.h"

namespace quillet {

void Editor::deleteCurrentSegment()
{
    if (!currentSegment()) return;
    commitTypedByte();  // a pending byte belongs to the segment it was typed in, not the next one
    if (!settleTyping()) return;
    if (!prompts_.askYesNo(MessageKind::Warning, translated("Warning"),
                           translated("File may be corrupted, are you sure?")))
        return;
    std::size_t s = *state_.selectedSegment;
    if (!editDocument([&] { return deleteSegment(document_, s); })) return;
    if (document_.segments.empty()) {
        state_.selectedSegment.reset();
        return;
    }
    state_.selectedSegment = std::min(s, document_.segments.size() - 1);
    showSelectedSegment();
}

void Editor::forceUnicode()
{
    if (!currentSegment() || currentSegment()->isUnicode()) return;
    commitTypedByte();  // the forced text shows the byte just typed
    if (!settleTyping()) return;
    const Segment* segment = currentSegment();
    if (!segment || segment->isUnicode()) return;
    setTextLine(u"");
    state_.textLineMaxLength = 0;
    state_.forceMode = true;
    GridLayout layout = GridLayout::of(document_, *segment);
    GridSelection& selection = state_.selection;
    std::u16string units;
    if (selection.startRow == selection.endRow && selection.startCol == selection.endCol) {
        std::size_t characters = segment->data.size() / 2;
        if (characters > TextLineCapacity) {
            // The run becomes the first characters a text line can hold, and says so.
            state_.messagePanel = filled(
                translatedPlural("Force unicode %1 of %n char(s).", "Force unicode %1 of %n char(s).", characters),
                {std::to_string(TextLineCapacity)});
            layout.size = 2 * TextLineCapacity;
        } else {
            state_.messagePanel = translatedPlural("Force unicode %n char(s).", "Force unicode %n char(s).",
                                                   characters);
        }
        selection = layout.wholeData();
        units = unitsOf(segment->data, static_cast<std::size_t>(layout.size));
    } else {
        std::int64_t cells = std::abs(selection.endRow - selection.startRow) * 16 + selection.endCol -
                             selection.startCol + 1;
        state_.messagePanel = translatedPlural("Force unicode %n char(s).", "Force unicode %n char(s).",
                                               static_cast<unsigned long>(cells / 2));
        // A character for every odd index: the byte in front of it is its low byte.
        walkSelection(selection, layout.lead, segment->size(), [&](std::int64_t p) {
            if (p % 2 == 1 && units.size() < TextLineCapacity)
                units.push_back(static_cast<char16_t>(segment->data[p - 1] | (segment->data[p] << 8)));
        });
    }
    fillTextLine(units);
    state_.textStripVisible = true;
    state_.focus = FocusRequest::TextLine;
}

void Editor::readSegmentsAgain()
{
    commitTypedByte();
    if (!settleTyping()) return;
    if (!document_.noIndex && loadDifferences(document_).empty()) {
        prompts_.showMessage(MessageKind::Information, translated("Information"),
                             translated("The segments are already those the file loads as. Nothing was changed."));
        return;
    }
    if (!editDocument([&] { return rereadSegments(document_); })) return;
    state_.selectedSegment = document_.segments.empty() ? std::nullopt : std::optional<std::size_t>(0);
    showSelectedSegment();
}

// Writes the text line over the selected run. A line of another length than the run asks to
// resize it, and may then rewrite the count byte in front of it.
void Editor::forceApply(std::size_t s)
{
    if (lineUnchangedButInexact()) {
        // The line cannot hold the run's units exactly: its bytes stay, its line shows the text.
        editDocument([&] { return setForcedText(document_, s, state_.textLine); });
        showSelectedSegment();
        return;
    }
    ByteRun run = GridLayout::of(document_, document_.segments[s]).runOf(state_.selection);
    ForcedWrite write{s, run.start, run.length, state_.textLine, false};
    if (resizesRun(write) && !prompts_.askYesNo(MessageKind::Warning, translated("Warning"),
                                                translated("Length text incorrect!!! Resize block?")))
        return;
    write.recount = runHasCountByte(document_, write) &&
                    prompts_.askYesNo(MessageKind::Confirmation, translated("Confirm"),
                                      translated("Recalculate header byte?"));
    WrittenText text{document_.segments[s].dataStart() + static_cast<std::int64_t>(write.start), write.units};
    if (editDocument([&] { return quillet::forceApply(document_, write); }, text)) showSelectedSegment();
}

}  // namespace quillet
