#include "app/editor.h"

#include <string>

#include "model/line_format.h"
#include "search/byte_search.h"
#include "search/pattern.h"
#include "search/search_start.h"
#include "views/grid_geometry.h"

namespace quillet {

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
    if (prompts_.showReplaceDialog(replaceFields_) && !replaceFields_.lookFor.empty())
        replaceAll(replaceFields_.startFrom == ReplaceStart::Begin);
}

// Searches forward from the selected segment and shows the first hit as the current and only
// selected cell; without a hit nothing changes.
void Editor::searchForward(bool fromSegmentStart)
{
    // A byte typed in the grid is written, to the segment it was typed in, before the search sees it.
    handOverGridEditor();
    const Segment* selected = currentSegment();
    if (!selected) return;
    Bytes pattern = patternBytes(findFields_.text, findFields_.mode, codePage_);
    std::size_t first = *state_.selectedSegment;
    std::size_t start = fromSegmentStart ? 0 : startIndexAfterCell(gridLead(document_, *selected), state_.current);
    auto hit = findInSegments(document_.segments, first, start, pattern);
    if (!hit) return;
    state_.selectedSegment = hit->segment;
    showSelectedSegment();
    const Segment& segment = document_.segments[hit->segment];
    std::size_t shown = shownHitIndex(hit->index, segment.data.size());
    GridCell cell = cellOfByte(gridLead(document_, segment), static_cast<std::int64_t>(shown));
    setCurrentCell({cell.row, state_.current.col});
    setCurrentCell(cell);
    state_.selection = GridSelection{cell.row, cell.col, cell.row, cell.col};
}

// Overwrites every occurrence in place, reports the count, and shows the selected segment afresh
// when something was replaced.
void Editor::replaceAll(bool fromBeginning)
{
    handOverGridEditor();
    const Segment* selected = currentSegment();
    if (!selected) return;
    Bytes pattern = patternBytes(replaceFields_.lookFor, replaceFields_.mode, codePage_);
    Bytes replacement = patternBytes(replaceFields_.replaceWith, replaceFields_.mode, codePage_);
    std::size_t first = fromBeginning ? 0 : *state_.selectedSegment;
    std::size_t start = fromBeginning ? 0 : startIndexAfterCell(gridLead(document_, *selected), state_.current);
    std::int64_t count = replaceInSegments(document_.segments, first, start, pattern, replacement);

    // Replaced bytes inside a unicode block show in its line at once.
    for (std::size_t s = 0; s < document_.segments.size() && s < document_.segmentLines.size(); ++s) {
        const Segment& segment = document_.segments[s];
        if (segment.isUnicode())
            document_.segmentLines[s] = withHead(document_.segmentLines[s], displayText(segment.data, codePage_));
    }
    prompts_.showMessage(MessageKind::Information, "Information", "Make " + std::to_string(count) + " replace(s)");
    if (count > 0 && currentSegment()) showSelectedSegment();
}

}  // namespace quillet
