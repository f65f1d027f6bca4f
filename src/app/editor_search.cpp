#include "app/editor.h"

#include <string>

#include "model/translated.h"
#include "search/byte_search.h"
#include "search/pattern.h"
#include "views/grid_geometry.h"

namespace quillet {

// The pattern of a text in a mode; a text the code page cannot hold is refused with a warning.
std::optional<Bytes> Editor::patternOrWarn(const std::u16string& text, PatternMode mode)
{
    Result<Bytes> pattern = patternBytes(text, mode, codePage_);
    if (!pattern) {
        showRefusal(pattern.failure().reason);
        return std::nullopt;
    }
    return std::move(*pattern);
}

void Editor::find()
{
    if (!currentSegment()) return;
    if (prompts_.showFindDialog(findFields_) && !findFields_.text.empty()) searchForward(true);
}

void Editor::findNext()
{
    if (!currentSegment() || findFields_.text.empty()) return;
    searchForward(false);
}

void Editor::replace()
{
    if (!currentSegment()) return;
    commitTypedByte();
    if (!settleTyping()) return;
    if (prompts_.showReplaceDialog(replaceFields_) && !replaceFields_.lookFor.empty())
        replaceAll(replaceFields_.startFrom == ReplaceStart::Begin);
}

// Searches forward from the selected segment and shows the first hit as the current and only
// selected cell, with the focus in the grid; without a hit only the status bar says so.
void Editor::searchForward(bool fromSegmentStart)
{
    // A byte typed in the grid is written, to the segment it was typed in, before the search sees it.
    commitTypedByte();
    if (!checkFileOnDisk()) return;
    const Segment* selected = currentSegment();
    if (!selected) return;
    std::optional<Bytes> pattern = patternOrWarn(findFields_.text, findFields_.mode);
    if (!pattern) return;
    std::size_t first = *state_.selectedSegment;
    std::size_t start = fromSegmentStart ? 0 : GridLayout::of(document_, *selected).startAfter(state_.current);
    auto hit = findInSegments(document_.segments, first, start, *pattern);
    tellIfFileCutShort();
    if (!hit) {
        state_.messagePanel = fromSegmentStart ? translated("Not found from this segment to the end of the file.")
                                               : translated("Not found from here to the end of the file.");
        return;
    }
    if (!moveToSegment(hit->segment)) return;
    const Segment& segment = document_.segments[hit->segment];
    std::size_t shown = shownHitIndex(hit->index, segment.data.size());
    GridCell cell = GridLayout::of(document_, segment).cellOf(static_cast<std::int64_t>(shown));
    setCurrentCell({cell.row, state_.current.col});
    setCurrentCell(cell);
    state_.selection = GridSelection{cell.row, cell.col, cell.row, cell.col};
    state_.focus = FocusRequest::Grid;
}

// Overwrites every occurrence in place, reports the count, and shows the selected segment afresh
// when something was replaced. A cancelled replace changes nothing.
void Editor::replaceAll(bool fromBeginning)
{
    commitTypedByte();
    if (!settleTyping()) return;
    if (!checkFileOnDisk()) return;
    const Segment* selected = currentSegment();
    if (!selected) return;
    std::optional<Bytes> pattern = patternOrWarn(replaceFields_.lookFor, replaceFields_.mode);
    if (!pattern) return;
    std::optional<Bytes> replacement = patternOrWarn(replaceFields_.replaceWith, replaceFields_.mode);
    if (!replacement) return;
    ReplaceScope scope;
    if (!fromBeginning)
        scope = {*state_.selectedSegment, GridLayout::of(document_, *selected).startAfter(state_.current)};
    std::int64_t count = 0;
    bool done = false;
    try {
        done = editDocument([&] {
            ReplaceOutcome outcome;
            {
                // The window shows none of the bytes while they are being written.
                RaisedFlag busy(busy_);
                runOwnWork(translated("Replacing"), [&](Progress& progress) {
                    outcome = replaceInDocument(document_, scope, *pattern, *replacement, progress);
                });
            }
            count = outcome.count;
            outcome.change.segment = state_.selectedSegment;
            return std::move(outcome.change);
        });
    } catch (const WorkCancelled&) {
        return;  // the writes were taken back
    }
    if (!done) return;
    prompts_.showMessage(
        MessageKind::Information, translated("Information"),
        translatedPlural("Make %n replace(s)", "Make %n replace(s)", static_cast<unsigned long>(count)));
    if (count > 0 && currentSegment()) showSelectedSegment();
}

}  // namespace quillet
