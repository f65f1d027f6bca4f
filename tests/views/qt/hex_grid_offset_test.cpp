// The offset column of the hex grid for segments that lie past 4 GiB in their file.
#include <QFontMetrics>
#include <QTest>

#include <gtest/gtest.h>

#include "model/codepage.h"
#include "views/grid_geometry.h"
#include "views/qt/hex_grid.h"

namespace quillet {
namespace {

// A grid port showing one segment of 32 bytes at a position the test chooses, without the
// gigabytes before it.
class FarSegment final : public GridPort {
public:
    FarSegment() { segment_.data = SegmentBytes(Bytes(32, 0x41)); }
    std::int64_t dataStart = 0;

    std::int64_t rowCount() const override { return 3; }
    GridCell currentCell() const override { return {1, 1}; }
    const GridSelection& gridSelection() const override { return selection_; }
    const GridEditorState& gridEditor() const override { return editor_; }
    std::optional<ShownSegment> shownSegment() const override
    {
        return ShownSegment{&segment_, dataStart, GridLayout{0, 32}};
    }
    const CodePage& codePage() const override { return codePage_; }
    bool canEditColumn(int) const override { return false; }
    void gridTypeCharacter(const std::string&) override {}
    void gridEditKey() override {}
    void gridEditorTextChanged(const std::string&) override {}
    void gridEditorEscape() override {}
    void gridMoveCurrent(GridCell) override {}
    void gridMousePress(MouseButton, GridCell) override {}
    void gridMouseRelease(MouseButton, GridCell, bool) override {}
    void gridFocusLost() override {}

private:
    Segment segment_;
    GridSelection selection_;
    GridEditorState editor_;
    CodePage codePage_ = *CodePage::byName("1252");
};

TEST(GridOffsetDigits, AreEightUpTo4GiBAndAsManyAsTheLastRowNeedsPastIt)
{
    EXPECT_EQ(rowOffsetDigits(0, 2), 8);
    EXPECT_EQ(rowOffsetDigits(0xFFFFFFE0, 3), 8) << "the last row starts at FFFFFFF0";
    EXPECT_EQ(rowOffsetDigits(0xFFFFFFF0, 3), 9) << "the last row starts at 1 0000 0000";
    EXPECT_EQ(rowOffsetDigits(0x123456789AB0, 2), 12);
}

// The labels of a segment past 4 GiB took nine digits and more in a column made for eight, and were cut.
TEST(HexGridOffsetColumn, WidensForOffsetsPast4GiBOnlyAndShowsThemWhole)
{
    FarSegment port;
    HexGrid grid(port);
    grid.resize(700, 200);
    grid.show();
    grid.refresh();
    EXPECT_EQ(grid.columnWidths()[0], GridOffsetColumnWidth);

    port.dataStart = 0x2'0000'0010;
    grid.refresh();
    int widest = QFontMetrics(grid.cellFont()).horizontalAdvance(QStringLiteral("200000020"));
    EXPECT_GT(grid.columnWidths()[0], GridOffsetColumnWidth);
    EXPECT_GE(grid.columnWidths()[0], widest + 3) << "the label whole, with its right margin";

    port.dataStart = 0x100;
    grid.refresh();
    EXPECT_EQ(grid.columnWidths()[0], GridOffsetColumnWidth) << "a small file has the design width back";
}

}  // namespace
}  // namespace quillet
