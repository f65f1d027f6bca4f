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
    if (line >= document_.segments.size()) return;
    moveToSegment(line);
}

void Editor::selectIndexLine(std::size_t line)
{
    if (line >= document_.indexTable.size()) return;
    std::optional<std::size_t> before = state_.selectedIndexLine;
    state_.selectedIndexLine = line;
    if (!followIndexLine()) state_.selectedIndexLine = before;
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
    setRowCount(GridLayout::of(document_, *segment).rowCount(document_.noIndex));
    if (segment->isUnicode()) {
        setTextLine(u"");
        state_.textLineMaxLength = UnicodeLineLimit;
        fillTextLine(unitsOf(segment->data, segment->data.size()));
        state_.textStripVisible = true;
    } else {
        std::size_t previewSize = std::min<std::size_t>(PreviewBytes, segment->data.size());
        std::string preview = codePagePreview(unitsOf(segment->data, previewSize), codePage_);
        state_.textStripVisible = false;
        fillTextLine(u"");
        state_.messagePanel = preview;
        state_.textLineMaxLength = 0;
    }
    // Index line k always carries the entry number k.
    if (segment->tag && *segment->tag < document_.indexTable.size()) state_.selectedIndexLine = *segment->tag;
}

bool Editor::followIndexLine()
{
    if (document_.indexTable.empty() || !state_.selectedIndexLine) return true;
    std::size_t entry = *state_.selectedIndexLine;
    const auto& segments = document_.segments;
    auto found = std::find_if(segments.begin(), segments.end(), [&](const Segment& s) { return s.tag == entry; });
    return found == segments.end() || moveToSegment(static_cast<std::size_t>(found - segments.begin()));
}

void Editor::previousSegment()
{
    if (document_.segments.empty() || !state_.selectedSegment || *state_.selectedSegment == 0) return;
    moveToSegment(*state_.selectedSegment - 1);
}

void Editor::nextSegment()
{
    if (document_.segments.empty() || !state_.selectedSegment) return;
    if (*state_.selectedSegment + 2 > document_.segments.size()) return;
    moveToSegment(*state_.selectedSegment + 1);
}

}  // namespace quillet
