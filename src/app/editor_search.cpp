#include "app/editor.h"

#include <string>

#include "model/line_format.h"
#include "search/byte_search.h"
#include "search/pattern.h"
#include "search/search_start.h"
#include "views/grid_geometry.h"

namespace quillet {

void Editor::ToolButton5Click()
{
    if (!currentSegment()) return;
    if (prompts_.showFindDialog(findFields_) && !findFields_.Text.empty()) SearchData(true);
}

void Editor::Findnext2Click()
{
    if (!currentSegment() || findFields_.Text.empty()) return;
    SearchData(false);
}

void Editor::ToolButton6Click()
{
    if (!currentSegment()) return;
    if (prompts_.showReplaceDialog(replaceFields_) && !replaceFields_.LookFor.empty())
        ReplaceData(replaceFields_.StartFrom == ReplaceStart::Begin);
}

// Searches forward from the selected segment and shows the first hit as the current and only
// selected cell; without a hit nothing changes.
void Editor::SearchData(bool fromSegmentStart)
{
    // A byte typed in the grid is written, to the segment it was typed in, before the search sees it.
    handOverGridEditor();
    const TResource* selected = currentSegment();
    if (!selected) return;
    Bytes pattern = patternBytes(findFields_.Text, findFields_.Mode, codePage_);
    std::size_t first = *state_.ListBox1ItemIndex;
    std::size_t start = fromSegmentStart ? 0 : startIndexAfterCell(gridLead(document_, *selected), state_.Current);
    auto hit = findFirst(document_.Segments, first, start, pattern);
    if (!hit) return;
    state_.ListBox1ItemIndex = hit->Segment;
    ListBox1Click();
    const TResource& segment = document_.Segments[hit->Segment];
    std::size_t shown = shownHitIndex(hit->Index, segment.Data.size());
    GridCell cell = cellOfByte(gridLead(document_, segment), static_cast<std::int64_t>(shown));
    setCurrentCell({cell.Row, state_.Current.Col});
    setCurrentCell(cell);
    state_.Selection = GridSelection{cell.Row, cell.Col, cell.Row, cell.Col};
}

// Overwrites every occurrence in place, reports the count, and shows the selected segment afresh
// when something was replaced.
void Editor::ReplaceData(bool fromBeginning)
{
    handOverGridEditor();
    const TResource* selected = currentSegment();
    if (!selected) return;
    Bytes pattern = patternBytes(replaceFields_.LookFor, replaceFields_.Mode, codePage_);
    Bytes replacement = patternBytes(replaceFields_.ReplaceWith, replaceFields_.Mode, codePage_);
    std::size_t first = fromBeginning ? 0 : *state_.ListBox1ItemIndex;
    std::size_t start = fromBeginning ? 0 : startIndexAfterCell(gridLead(document_, *selected), state_.Current);
    std::int64_t count = replaceAll(document_.Segments, first, start, pattern, replacement);

    // Replaced bytes inside a unicode block show in its line at once.
    for (std::size_t s = 0; s < document_.Segments.size() && s < document_.SegmentLines.size(); ++s) {
        const TResource& segment = document_.Segments[s];
        if (segment.isUnicode())
            document_.SegmentLines[s] = withHead(document_.SegmentLines[s], displayText(segment.Data, codePage_));
    }
    prompts_.showMessage(MessageKind::Information, "Information", "Make " + std::to_string(count) + " replace(s)");
    if (count > 0 && currentSegment()) ListBox1Click();
}

}  // namespace quillet
