#include "app/editor.h"

#include <algorithm>

#include "model/line_format.h"
#include "views/grid_geometry.h"

namespace quillet {

namespace {
constexpr std::size_t PreviewBytes = 40;
constexpr int UnicodeLineLimit = 127;
}  // namespace

void Editor::selectSegmentLineByUser(std::size_t line)
{
    if (line >= document_.SegmentLines.size()) return;
    handOverGridEditor();  // a digit typed in the grid belongs to the segment it was typed in
    state_.ListBox1ItemIndex = line;
    ListBox1Click();
}

void Editor::selectIndexLineByUser(std::size_t line)
{
    if (line >= document_.IndexTable.size()) return;
    state_.ListBoxPageItemIndex = line;
    ListBoxPageClick();
}

// The segment selection: every view of the current segment is made afresh from the document.
void Editor::ListBox1Click()
{
    resetGridSelection();
    state_.StatusPanel1.clear();
    const TResource* segment = currentSegment();
    if (!segment) {
        setRowCount(2);
        return;
    }
    state_.ForceMode = false;
    setRowCount(gridRowCount(document_, segment));
    if (segment->isUnicode()) {
        setEdit1Text("");
        state_.Edit1MaxLength = UnicodeLineLimit;
        fillEdit1(unitsOf(segment->Data.data(), segment->Data.size()));
        state_.Panel3Visible = true;
    } else {
        std::size_t previewSize = std::min<std::size_t>(PreviewBytes, segment->Data.size());
        std::string preview = fieldText(unitsOf(segment->Data.data(), previewSize), codePage_);
        state_.Panel3Visible = false;
        setEdit1Text("");
        filledLine_.clear();
        filledLineExact_ = true;
        state_.StatusPanel1 = preview;
        state_.Edit1MaxLength = 0;
    }
    // Index line k always carries the entry number k.
    auto entry = entryNumberOfLine(document_.SegmentLines[*state_.ListBox1ItemIndex]);
    if (entry && *entry < document_.IndexTable.size()) state_.ListBoxPageItemIndex = *entry;
}

void Editor::ListBoxPageClick()
{
    if (document_.IndexTable.empty() || !state_.ListBoxPageItemIndex) return;
    std::size_t entry = *state_.ListBoxPageItemIndex;
    const auto& lines = document_.SegmentLines;
    for (std::size_t line = 0; line < lines.size(); ++line) {
        if (entryNumberOfLine(lines[line]) == entry) {
            handOverGridEditor();
            state_.ListBox1ItemIndex = line;
            ListBox1Click();
            return;
        }
    }
}

void Editor::Previousunicodeblock2Click()
{
    if (document_.SegmentLines.empty() || !state_.ListBox1ItemIndex || *state_.ListBox1ItemIndex == 0) return;
    // The shortcut leaves the focus on the grid: its editor's text goes to the segment it was
    // typed in, not to the next one shown.
    handOverGridEditor();
    --*state_.ListBox1ItemIndex;
    ListBox1Click();
}

void Editor::Nextunicodeblock2Click()
{
    if (document_.SegmentLines.empty() || !state_.ListBox1ItemIndex) return;
    if (*state_.ListBox1ItemIndex + 2 > document_.SegmentLines.size()) return;
    handOverGridEditor();
    ++*state_.ListBox1ItemIndex;
    ListBox1Click();
}

}  // namespace quillet
