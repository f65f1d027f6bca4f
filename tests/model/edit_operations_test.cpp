#include <gtest/gtest.h>

#include "model/codepage.h"
#include "model/edit_operations.h"
#include "model/loader.h"
#include "support/byte_strings.h"
#include "support/resource_builder.h"

namespace quillet {
namespace {

using test::hexOf;

class EditOperations : public ::testing::Test {
protected:
    CodePage codePage = *CodePage::byName("1252");
    Document document = parseResource(test::workedExampleFile(), codePage);

    std::vector<std::uint16_t> offsets() const
    {
        std::vector<std::uint16_t> result;
        for (const Segment& segment : document.segments) result.push_back(segment.offset);
        return result;
    }
};

TEST_F(EditOperations, UnicodeTextResizesTheBlockAndMovesWhatLiesAboveIt)
{
    applyUnicodeText(document, 1, {'H', 'e', 'y'}, codePage);
    EXPECT_EQ(hexOf(document.segments[1].data), "48 00 65 00 79 00");
    EXPECT_EQ(document.segments[1].size, 6);
    EXPECT_EQ(offsets(), (std::vector<std::uint16_t>{3, 7, 14}));
    EXPECT_EQ(document.indexTable, (IndexEntries{4, 7, 15}));
    EXPECT_EQ(document.segmentLines, (std::vector<std::string>{"001(0) 0004:0006", "002(1) Hey", "003(2) 000F:0011"}));
}

TEST_F(EditOperations, UnicodeTextLineLeavesOutUnitZeroAndShowsUnmappableUnits)
{
    applyUnicodeText(document, 1, {'A', 0, 0x4E00, 'B'}, codePage);
    EXPECT_EQ(hexOf(document.segments[1].data), "41 00 00 00 00 4E 42 00");
    EXPECT_EQ(document.segmentLines[1], "002(1) A?B");
}

TEST_F(EditOperations, ShorterTextLowersLaterPositionsModulo65536)
{
    document.segments[2].offset = 1;
    document.indexTable = {4, 7, 8, 2};
    applyUnicodeText(document, 1, {}, codePage);
    EXPECT_EQ(document.segments[2].offset, 0xFFFD);
    // Entries not above the block's count byte (7) stay, whatever their place in the table.
    EXPECT_EQ(document.indexTable, (IndexEntries{4, 7, 4, 2}));
}

TEST_F(EditOperations, DeletingABlockRemovesItsCountByteAndMarkerToo)
{
    deleteSegment(document, 1);
    EXPECT_EQ(offsets(), (std::vector<std::uint16_t>{3, 6}));
    EXPECT_EQ(document.indexTable, (IndexEntries{4, 7, 7}));
    EXPECT_EQ(document.segmentLines, (std::vector<std::string>{"001(0) 0004:0006", "003(2) 0007:0009"}));
}

TEST_F(EditOperations, DeletingKeepsTheLinesOfBlocksAndRebuildsEveryDataLine)
{
    document.segmentLines[0] = "001(0) forced text";
    document.segmentLines[2] = "003(2) other text";
    deleteSegment(document, 0);
    EXPECT_EQ(document.segmentLines, (std::vector<std::string>{"002(1) Hi", "003(2) 000A:000C"}));
}

TEST_F(EditOperations, ResizeRunGrowsInTheMiddleAndMovesOnlyEntriesFromTheFirstMovable)
{
    document = parseResource(test::resourceFile({"01 02 03 04 05 06", "07 08 09"}), codePage);
    resizeRun(document, 0, 2, 2, 5, 1);
    // The five bytes of the run are the writer's to fill; the bytes around it stay in place.
    const Bytes& data = document.segments[0].data;
    ASSERT_EQ(data.size(), 9u);
    EXPECT_EQ(document.segments[0].size, 9);
    EXPECT_EQ(hexOf(Bytes(data.begin(), data.begin() + 2)), "01 02");
    EXPECT_EQ(hexOf(Bytes(data.begin() + 7, data.end())), "05 06");
    EXPECT_EQ(document.segments[1].offset, 12);
    EXPECT_EQ(document.indexTable, (IndexEntries{4, 13}));
    EXPECT_EQ(document.segmentLines, (std::vector<std::string>{"001(0) 0004:000C", "002(1) 000D:000F"}));
}

TEST_F(EditOperations, ResizeRunShrinksAndFromEntryZeroMovesEveryEntryAboveTheSegment)
{
    document = parseResource(test::resourceFile({"01 02 03 04 05 06", "07 08 09"}), codePage);
    resizeRun(document, 0, 1, 4, 0, 0);
    EXPECT_EQ(hexOf(document.segments[0].data), "01 06");
    EXPECT_EQ(document.segments[1].offset, 5);
    // The first entry points at the segment's first byte, above its Offset: it moves too.
    EXPECT_EQ(document.indexTable, (IndexEntries{0, 6}));
}

TEST_F(EditOperations, RebuildDataLinesStartsAtTheGivenLineAndSkipsBlocks)
{
    document.segmentLines = {"001(0) a", "002(1) b", "003(2) c"};
    rebuildDataLines(document, 1);
    EXPECT_EQ(document.segmentLines, (std::vector<std::string>{"001(0) a", "002(1) b", "003(2) 000D:000F"}));
}

}  // namespace
}  // namespace quillet
