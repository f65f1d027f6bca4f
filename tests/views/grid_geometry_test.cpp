#include "views/grid_geometry.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "model/codepage.h"
#include "support/byte_strings.h"

namespace quillet {
namespace {

using test::bytesFromHex;

Segment segmentOf(SegmentKind kind, std::uint16_t offset, Bytes data)
{
    Segment segment;
    segment.kind = kind;
    segment.offset = offset;
    segment.data = std::move(data);
    return segment;
}

Bytes countingBytes(int count)
{
    Bytes bytes;
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(i));
    return bytes;
}

GridSelection selectionOf(GridCell start, GridCell end)
{
    return GridSelection{start.row, start.col, end.row, end.col};
}

// --- Lead, row count and cell mapping ---

TEST(GridLayout, DataSegmentAtOffset0FHasNoLeadAndStartsAtRowLabelled10)
{
    Document document;
    Segment segment = segmentOf(SegmentKind::Data, 0x000F, countingBytes(16));
    EXPECT_EQ(gridLead(document, segment), 0);
    EXPECT_EQ(rowOffsetLabel(document.dataStart(segment), 1), 0x10);
    EXPECT_EQ(byteIndexAtCell(0, segment.size(), 1, 1), 0);
    EXPECT_EQ(byteIndexAtCell(0, segment.size(), 1, 16), 15);
    EXPECT_EQ(byteIndexAtCell(0, segment.size(), 2, 1), std::nullopt);
    EXPECT_EQ(gridRowCount(document, &segment), 2);
    segment = segmentOf(SegmentKind::Data, 0x000F, countingBytes(17));
    EXPECT_EQ(gridRowCount(document, &segment), 3);
}

TEST(GridLayout, DataSegmentAtOffset3LeavesFourLeadCellsEmpty)
{
    Document document;
    Segment segment = segmentOf(SegmentKind::Data, 0x0003, countingBytes(5));
    int lead = gridLead(document, segment);
    EXPECT_EQ(lead, 4);
    EXPECT_EQ(rowOffsetLabel(document.dataStart(segment), 1), 0);
    for (int col = 1; col <= 4; ++col) EXPECT_EQ(byteIndexAtCell(lead, segment.size(), 1, col), std::nullopt);
    EXPECT_EQ(byteIndexAtCell(lead, segment.size(), 1, 5), 0);
    EXPECT_EQ(byteIndexAtCell(lead, segment.size(), 1, 9), 4);
    EXPECT_EQ(byteIndexAtCell(lead, segment.size(), 1, 10), std::nullopt);
    EXPECT_EQ(cellOfByte(lead, 0), (GridCell{1, 5}));
}

TEST(GridLayout, UnicodeBlockAtOffset0DWrapsItsSecondByteIntoRowTwo)
{
    Document document;
    Segment block = segmentOf(SegmentKind::Unicode, 0x000D, bytesFromHex("41 00"));
    int lead = gridLead(document, block);
    EXPECT_EQ(lead, 15);
    EXPECT_EQ(cellOfByte(lead, 0), (GridCell{1, 16}));
    EXPECT_EQ(cellOfByte(lead, 1), (GridCell{2, 1}));
    EXPECT_EQ(gridRowCount(document, &block), 3);
}

TEST(GridLayout, UnicodeBlockAtOffset0FPutsItsLastByteInRowTwo)
{
    Document document;
    Segment block = segmentOf(SegmentKind::Unicode, 0x000F, countingBytes(16));
    int lead = gridLead(document, block);
    EXPECT_EQ(lead, 1);
    EXPECT_EQ(cellOfByte(lead, 0), (GridCell{1, 2}));
    EXPECT_EQ(cellOfByte(lead, 14), (GridCell{1, 16}));
    EXPECT_EQ(cellOfByte(lead, 15), (GridCell{2, 1}));
    EXPECT_EQ(gridRowCount(document, &block), 3);
}

TEST(GridLayout, RawFileKeepsAnEmptyRowAfterAFullLastRow)
{
    Document document;
    document.noIndex = true;
    Segment raw = segmentOf(SegmentKind::Data, 0, countingBytes(32));
    EXPECT_EQ(gridLead(document, raw), 0);
    EXPECT_EQ(gridRowCount(document, &raw), 4);
    EXPECT_EQ(rowOffsetLabel(0, 1), 0x00);
    EXPECT_EQ(rowOffsetLabel(0, 2), 0x10);
    EXPECT_EQ(rowOffsetLabel(0, 3), 0x20);
    EXPECT_EQ(byteIndexAtCell(0, raw.size(), 3, 1), std::nullopt);

    raw = segmentOf(SegmentKind::Data, 0, countingBytes(33));
    EXPECT_EQ(gridRowCount(document, &raw), 4);
    EXPECT_EQ(cellOfByte(0, 32), (GridCell{3, 1}));
}

TEST(GridLayout, NoSegmentOrAnEmptyOneGivesHeaderAndOneRow)
{
    Document document;
    EXPECT_EQ(gridRowCount(document, nullptr), 2);
    Segment empty = segmentOf(SegmentKind::Data, 0x000F, {});  // lead 0: m + Size = -1
    EXPECT_EQ(gridRowCount(document, &empty), 2);
}

TEST(GridLayout, CharacterCellsShowTheSameByteAsTheirMirror)
{
    EXPECT_EQ(byteIndexAtCell(4, 20, 2, 20), byteIndexAtCell(4, 20, 2, 4));
    EXPECT_EQ(byteIndexAtCell(4, 20, 2, 20), 15);
    EXPECT_EQ(byteIndexAtCell(0, 20, 0, 1), std::nullopt);   // header row
    EXPECT_EQ(byteIndexAtCell(0, 20, 1, 0), std::nullopt);   // offset column
    EXPECT_EQ(byteIndexAtCell(0, 20, 1, 33), std::nullopt);  // past the last column
}

TEST(GridLayout, RowsOfAGigabyteRawFileNeedSixtyFourBits)
{
    Document document;
    document.noIndex = true;
    const std::int64_t size = std::int64_t{1} << 32;  // a raw file of 4 GiB: only its size is used
    EXPECT_EQ((GridLayout{0, size}.rowCount(true)), (std::int64_t{1} << 28) + 2);
    EXPECT_EQ((GridLayout{0, size}.cellOf(size - 1)), (GridCell{std::int64_t{1} << 28, 16}));
    EXPECT_EQ(rowOffsetLabel(0, (std::int64_t{1} << 26) + 1), std::int64_t{1} << 30);
    EXPECT_EQ(cellOfByte(0, (std::int64_t{1} << 30) - 1), (GridCell{std::int64_t{1} << 26, 16}));
    EXPECT_EQ(byteIndexAtCell(0, std::int64_t{1} << 30, std::int64_t{1} << 26, 16), (std::int64_t{1} << 30) - 1);
}

// --- Selection keys, release rule and walk ---

TEST(GridSelectionKeys, FoldingMapsCharacterColumnsOntoByteColumns)
{
    EXPECT_EQ(foldColumn(0), 0);
    EXPECT_EQ(foldColumn(16), 16);
    EXPECT_EQ(foldColumn(17), 1);
    EXPECT_EQ(foldColumn(32), 16);
    EXPECT_EQ(cellKey(2, 5), 37);
}

TEST(GridSelectionKeys, ResetOrReversedSelectionCoversNothing)
{
    EXPECT_FALSE(isByteCellSelected(GridSelection{}, 1, 1));
    GridSelection reversed = selectionOf({2, 5}, {1, 3});
    EXPECT_FALSE(isByteCellSelected(reversed, 1, 3));
    EXPECT_FALSE(isByteCellSelected(reversed, 2, 5));
    Segment segment = segmentOf(SegmentKind::Data, 0x000F, countingBytes(40));
    EXPECT_EQ(copyHexText(reversed, 0, segment), "");
    EXPECT_EQ(copyHexText(GridSelection{}, 0, segment), "");
}

TEST(GridSelectionKeys, ReleaseExtendsTheEndOrTheStartWhicheverWayTheMouseWent)
{
    GridSelection pressed = selectionOf({1, 3}, {1, 3});
    EXPECT_EQ(selectionAfterRelease(pressed, 2, 5), selectionOf({1, 3}, {2, 5}));
    pressed = selectionOf({2, 5}, {2, 5});
    EXPECT_EQ(selectionAfterRelease(pressed, 1, 3), selectionOf({1, 3}, {2, 5}));
    EXPECT_EQ(selectionAfterRelease(pressed, 2, 5), pressed);
}

TEST(GridSelectionKeys, RunOverTwoRowsCopiesItsNineteenBytesInOrder)
{
    Segment segment = segmentOf(SegmentKind::Data, 0x000F, countingBytes(21));
    GridSelection selection = selectionOf({1, 3}, {2, 5});
    EXPECT_FALSE(isByteCellSelected(selection, 1, 2));
    EXPECT_TRUE(isByteCellSelected(selection, 1, 3));
    EXPECT_TRUE(isByteCellSelected(selection, 1, 16));
    EXPECT_TRUE(isByteCellSelected(selection, 2, 5));
    EXPECT_FALSE(isByteCellSelected(selection, 2, 6));
    std::string hex = copyHexText(selection, 0, segment);
    EXPECT_EQ(hex.size(), 38u);
    EXPECT_EQ(hex, "02030405060708090A0B0C0D0E0F1011121314");
}

TEST(GridSelectionKeys, SelectionFromColumnZeroDrawsThePreviousRowsLastCellButDoesNotCopyIt)
{
    Segment segment = segmentOf(SegmentKind::Data, 0x000F, countingBytes(48));
    GridSelection selection = selectionOf({3, 0}, {3, 2});
    EXPECT_TRUE(isByteCellSelected(selection, 2, 16));
    EXPECT_TRUE(isByteCellSelected(selection, 3, 1));
    EXPECT_TRUE(isByteCellSelected(selection, 3, 2));
    EXPECT_EQ(copyHexText(selection, 0, segment), "2021");
}

TEST(GridSelectionKeys, CharacterCellSelectionCopiesItsMirrorByte)
{
    Segment segment = segmentOf(SegmentKind::Data, 0x000F, countingBytes(32));
    GridSelection selection = selectionOf({2, foldColumn(20)}, {2, foldColumn(20)});
    EXPECT_EQ(copyHexText(selection, 0, segment), "13");
}

TEST(GridSelectionKeys, WalkSkipsLeadCellsAndCellsPastTheEnd)
{
    Segment segment = segmentOf(SegmentKind::Unicode, 0x000D, bytesFromHex("41 00"));
    GridSelection wholeRows = selectionOf({1, 1}, {3, 16});
    std::vector<std::int64_t> visited;
    walkSelection(wholeRows, 15, segment.size(), [&](std::int64_t index) { visited.push_back(index); });
    EXPECT_EQ(visited, (std::vector<std::int64_t>{0, 1}));
    EXPECT_EQ(copyHexText(wholeRows, 15, segment), "4100");
}

// --- Cell colours and character text ---

TEST(GridCellColours, ByteCellsFollowSelectionAndCurrentMirror)
{
    GridSelection selection = selectionOf({1, 3}, {1, 4});
    CellColours selected = cellColours(1, 3, selection, GridCell{5, 5}, Theme::Light);
    EXPECT_EQ(selected.background, 0xAAAAAAu);
    EXPECT_EQ(selected.text, 0x0000C0u) << "the design's blue, darkened to be read on its grey";
    CellColours mirrorCurrent = cellColours(1, 6, selection, GridCell{1, 22}, Theme::Light);
    EXPECT_EQ(mirrorCurrent.background, 0xAAAAAAu);
    EXPECT_EQ(mirrorCurrent.text, 0x000000u);
    CellColours plain = cellColours(1, 6, selection, GridCell{1, 6}, Theme::Light);  // itself current
    EXPECT_EQ(plain.background, 0xBBBBBBu);
    EXPECT_EQ(plain.text, 0x000000u);
}

TEST(GridCellColours, CharacterCellsFollowSelectionThenCurrentMirror)
{
    GridSelection selection = selectionOf({1, 3}, {1, 4});
    EXPECT_EQ(cellColours(1, 19, selection, GridCell{1, 3}, Theme::Light).background, 0xDDDDDDu);
    EXPECT_EQ(cellColours(1, 20, selection, GridCell{1, 3}, Theme::Light).background, 0xEEEEEEu);
    CellColours plain = cellColours(1, 21, selection, GridCell{1, 21}, Theme::Light);
    EXPECT_EQ(plain.background, std::nullopt) << "the theme's own background and text";
    EXPECT_EQ(plain.text, std::nullopt);
}

TEST(GridCellColours, FixedCellsGetNoColour)
{
    GridSelection selection = selectionOf({0, 0}, {9, 16});
    EXPECT_EQ(cellColours(0, 3, selection, GridCell{1, 1}, Theme::Light).background, std::nullopt);
    EXPECT_EQ(cellColours(2, 0, selection, GridCell{1, 1}, Theme::Dark).background, std::nullopt);
}

// In a dark theme the theme's near-white text met the light greys at 1.65:1. Every cell kind
// now brings its text with its background, readable at 4.5:1 at least, and the kinds differ.
TEST(GridCellColours, EveryCellKindIsReadableInLightAndDarkThemes)
{
    GridSelection selection = selectionOf({1, 3}, {1, 4});
    struct Kind {
        const char* name;
        int col;
        GridCell current;
    };
    const std::vector<Kind> kinds = {{"byte", 8, {1, 22}},
                                     {"selected byte", 3, {1, 22}},
                                     {"byte of the current character", 6, {1, 22}},
                                     {"selected character", 19, {1, 22}},
                                     {"character of the current byte", 22, {1, 6}}};
    for (Theme theme : {Theme::Light, Theme::Dark}) {
        std::set<std::pair<std::uint32_t, std::uint32_t>> pairs;
        for (const Kind& kind : kinds) {
            CellColours colours = cellColours(1, kind.col, selection, kind.current, theme);
            ASSERT_TRUE(colours.background && colours.text) << kind.name;
            EXPECT_GE(contrastRatio(*colours.background, *colours.text), 4.5) << kind.name;
            pairs.insert({*colours.background, *colours.text});
        }
        EXPECT_GE(pairs.size(), 4u) << "the kinds stand apart";
    }
}

TEST(ThemeColours, ContrastAndThemeFollowTheLightnessOfTheColours)
{
    EXPECT_NEAR(contrastRatio(0x000000, 0xFFFFFF), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(0x0000FF, 0xAAAAAA), 3.7, 0.01) << "the design's selected byte";
    EXPECT_EQ(themeOf(0xFFFFFF, 0x000000), Theme::Light);
    EXPECT_EQ(themeOf(0x2D2D2D, 0xEEEEEE), Theme::Dark);
    EXPECT_EQ(linkColour(Theme::Light), 0x000080u) << "the design's navy";
    EXPECT_GE(contrastRatio(linkColour(Theme::Dark), 0x353535), 4.5);
    EXPECT_GE(contrastRatio(linkColour(Theme::Light), 0xEFEFEF), 4.5);
}

TEST(GridCellColours, CharacterTextIsADotForControlAndUndefinedBytesElseTheByteItself)
{
    CodePage western = *CodePage::byName("1252");
    for (int byte : {0x00, 0x0F, 0x10, 0x1F, 0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(characterCellText(static_cast<std::uint8_t>(byte), western), ".") << byte;
    EXPECT_EQ(characterCellText(0x20, western), " ");
    EXPECT_EQ(characterCellText(0x41, western), "A");
    EXPECT_EQ(characterCellText(0x7E, western), "~");
    EXPECT_EQ(characterCellText(0x80, western), "\x80");  // the euro sign
    EXPECT_EQ(characterCellText(0xE9, western), "\xE9");
    // What a page leaves undefined depends on the page: 0x81 is a letter in 1251, 0x98 is not.
    CodePage cyrillic = *CodePage::byName("1251");
    EXPECT_EQ(characterCellText(0x81, cyrillic), "\x81");
    EXPECT_EQ(characterCellText(0x98, cyrillic), ".");
}

// --- Pointer to cell ---

TEST(GridPointer, ColumnsComeFromTheRunningWidthsAndFold)
{
    std::vector<int> widths = defaultGridColumnWidths();
    EXPECT_EQ(cellAtPoint(0, 30, widths, 10, 1).col, 0);
    EXPECT_EQ(cellAtPoint(69, 30, widths, 10, 1).col, 0);
    EXPECT_EQ(cellAtPoint(70, 30, widths, 10, 1).col, 1);
    EXPECT_EQ(cellAtPoint(389, 30, widths, 10, 1).col, 16);
    EXPECT_EQ(cellAtPoint(390, 30, widths, 10, 1).col, 1);    // character column 17
    EXPECT_EQ(cellAtPoint(426, 30, widths, 10, 1).col, 4);    // character column 20
    EXPECT_EQ(cellAtPoint(2000, 30, widths, 10, 1).col, 16);  // right of everything: 32
    widths[0] = 100;
    EXPECT_EQ(cellAtPoint(80, 30, widths, 10, 1).col, 0);
    EXPECT_EQ(cellAtPoint(100, 30, widths, 10, 1).col, 1);
}

TEST(GridPointer, RowsCountFromTheTopRowInViewAndStopAtTheRowCount)
{
    std::vector<int> widths = defaultGridColumnWidths();
    EXPECT_EQ(cellAtPoint(80, 0, widths, 10, 1).row, 0);  // header row: topRow - 1
    EXPECT_EQ(cellAtPoint(80, 21, widths, 10, 1).row, 0);
    EXPECT_EQ(cellAtPoint(80, 22, widths, 10, 1).row, 1);
    EXPECT_EQ(cellAtPoint(80, 50, widths, 10, 5).row, 6);
    EXPECT_EQ(cellAtPoint(80, 10, widths, 10, 5).row, 4);
    EXPECT_EQ(cellAtPoint(80, 1000, widths, 3, 1).row, 3);  // below the rows: v = row count
}

}  // namespace
}  // namespace quillet
