#include "app/editor.h"

#include <algorithm>

#include "model/line_format.h"
#include "views/grid_geometry.h"

namespace quillet {

namespace {
constexpr std::size_t PreviewBytes = 40;
constexpr int UnicodeLineLimit = 127;
}  // namespace

void Editor::selectSegment(std::size_t line)
{
    if (line >= document_.segmentLines.size()) return;
    handOverGridEditor();  // a digit typed in the grid belongs to the segment it was typed in
    state_.selectedSegment = line;
    showSelectedSegment();
}

void Editor::selectIndexLine(std::size_t line)
{
    if (line >= document_.indexTable.size()) return;
    state_.selectedIndexLine = line;
    followIndexLine();
}

// The segment selection: every view of the current segment is made afresh from the document.
void Editor::showSelectedSegment()
{
    resetGridSelection();
    state_.messagePanel.clear();
    const Segment* segment = currentSegment();
    if (!segment) {
        setRowCount(2);
        return;
    }
    state_.forceMode = false;
    setRowCount(gridRowCount(document_, segment));
    if (segment->isUnicode()) {
        setTextLine("");
        state_.textLineMaxLength = UnicodeLineLimit;
        fillTextLine(unitsOf(segment->data.data(), segment->data.size()));
        state_.textStripVisible = true;
    } else {
        std::size_t previewSize = std::min<std::size_t>(PreviewBytes, segment->data.size());
        std::string preview = fieldText(unitsOf(segment->data.data(), previewSize), codePage_);
        state_.textStripVisible = false;
        setTextLine("");
        filledLine_.clear();
        filledLineExact_ = true;
        state_.messagePanel = preview;
        state_.textLineMaxLength = 0;
    }
    // Index line k always carries the entry number k.
    auto entry = entryNumberOfLine(document_.segmentLines[*state_.selectedSegment]);
    if (entry && *entry < document_.indexTable.size()) state_.selectedIndexLine = *entry;
}

void Editor::followIndexLine()
{
    if (document_.indexTable.empty() || !state_.selectedIndexLine) return;
    std::size_t entry = *state_.selectedIndexLine;
    const auto& lines = document_.segmentLines;
    for (std::size_t line = 0; line < lines.size(); ++line) {
        if (entryNumberOfLine(lines[line]) == entry) {
            handOverGridEditor();
            state_.selectedSegment = line;
            showSelectedSegment();
            return;
        }
    }
}

void Editor::previousSegment()
{
    if (document_.segmentLines.empty() || !state_.selectedSegment || *state_.selectedSegment == 0) return;
    // The shortcut leaves the focus on the grid: its editor's text goes to the segment it was
    // typed in, not to the next one shown.
    handOverGridEditor();
    --*state_.selectedSegment;
    showSelectedSegment();
}

void Editor::nextSegment()
{
    if (document_.segmentLines.empty() || !state_.selectedSegment) return;
    if (*state_.selectedSegment + 2 > document_.segmentLines.size()) return;
    handOverGridEditor();
    ++*state_.selectedSegment;
    showSelectedSegment();
}

}  // namespace quillet
