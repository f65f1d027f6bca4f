#include <gtest/gtest.h>

#include "app/editor.h"
#include "support/byte_strings.h"
#include "support/editor_fixture.h"

namespace quillet {
namespace {

using test::bytesFromHex;

// Segment 0: 12 bytes at 4 (lead 4). Segment 1: the 48 bytes 10 11 ... 3F at 16 (lead 0, rows 1
// to 3 full). Segment 2: the block "ABC", count byte at 64 (data start 66, lead 2, one data row).
Bytes gridFile()
{
    Bytes file = bytesFromHex("48 00 00 00");
    for (int i = 0; i < 12; ++i) file.push_back(0x01);
    for (int i = 0; i < 48; ++i) file.push_back(static_cast<std::uint8_t>(0x10 + i));
    Bytes block = bytesFromHex("03 AB 41 00 42 00 43 00 | 04 00 10 00 40 00 | 48 00");
    file.insert(file.end(), block.begin(), block.end());
    return file;
}

class EditorGrid : public test::EditorFixture {
protected:
    void SetUp() override
    {
        editor.loadFile(test::writeTempFile(gridFile(), "grid.rsc"));
        ASSERT_EQ(editor.document().segments.size(), 3u);
        editor.selectSegment(1);
    }
    std::uint8_t byteOf(std::size_t segment, std::size_t index) const
    {
        return editor.document().segments[segment].data[index];
    }
    void type(const std::string& keys)
    {
        for (char key : keys) editor.gridTypeCharacter(std::string(1, key));
    }
    // A press as the window reports it: a press on another non-fixed cell moves the current
    // cell first; a press on the current byte cell opens the editor after the press.
    void press(GridCell cell)
    {
        bool nonFixed = cell.row >= 1 && cell.col >= 1;
        bool onCurrent = nonFixed && cell == state().current;
        if (nonFixed && !onCurrent) editor.gridMoveCurrent(cell);
        editor.gridMousePress(MouseButton::Left, cell);
        if (onCurrent && editor.canEditColumn(cell.col)) editor.gridEditKey();
    }
    void release(GridCell cell) { editor.gridMouseRelease(MouseButton::Left, cell, !state().gridEditor.open); }
    std::string copied()
    {
        editor.copyHex();
        return prompts.clipboard.value_or("<nothing>");
    }
};

TEST_F(EditorGrid, SegmentRowsFollowLeadAndSize)
{
    EXPECT_EQ(state().rowCount, 4);  // 48 bytes from column 1: rows 1 to 3
    editor.selectSegment(0);
    EXPECT_EQ(state().rowCount, 2);
    editor.selectSegment(2);
    EXPECT_EQ(state().rowCount, 2);
}

TEST_F(EditorGrid, TwoTypedDigitsStoreAByteAndMoveOn)
{
    editor.gridMoveCurrent({1, 3});
    type("4");
    EXPECT_TRUE(state().gridEditor.open);
    EXPECT_EQ(byteOf(1, 2), 0x12);  // nothing stored before the editor closes
    type("F");
    EXPECT_EQ(byteOf(1, 2), 0x4F);
    EXPECT_EQ(state().current, (GridCell{1, 4}));
    EXPECT_FALSE(state().gridEditor.open);

    type("7a0");  // a run of digits fills consecutive bytes
    EXPECT_EQ(byteOf(1, 3), 0x7A);
    EXPECT_EQ(state().current, (GridCell{1, 5}));
    EXPECT_TRUE(state().gridEditor.open);
    EXPECT_EQ(state().gridEditor.cell, (GridCell{1, 5}));
}

TEST_F(EditorGrid, TwoDigitsInTheLastColumnContinueOnTheNextRow)
{
    editor.gridMoveCurrent({1, 16});
    type("12");
    EXPECT_EQ(byteOf(1, 15), 0x12);
    EXPECT_EQ(state().current, (GridCell{2, 1}));
}

TEST_F(EditorGrid, TwoDigitsInTheLastColumnOfTheLastRowStayOnThatRow)
{
    editor.selectSegment(0);  // one data row: bytes in columns 5 to 16
    editor.gridMoveCurrent({1, 16});
    type("34");
    EXPECT_EQ(byteOf(0, 11), 0x34);
    EXPECT_EQ(state().current, (GridCell{1, 1}));
    EXPECT_FALSE(state().gridEditor.open);
}

TEST_F(EditorGrid, MovingTheCurrentCellHandsOverOneDigit)
{
    editor.gridMoveCurrent({1, 3});
    type("A");
    editor.gridMoveCurrent({2, 3});  // Down arrow
    EXPECT_EQ(byteOf(1, 2), 0x0A);
    EXPECT_FALSE(state().gridEditor.open);

    type("Z");
    editor.gridMoveCurrent({2, 4});
    EXPECT_EQ(byteOf(1, 18), 0x00);
}

TEST_F(EditorGrid, EscapeStoresNothing)
{
    editor.gridMoveCurrent({1, 3});
    type("7");
    editor.gridEditorEscape();
    EXPECT_FALSE(state().gridEditor.open);
    editor.gridMoveCurrent({2, 3});
    EXPECT_EQ(byteOf(1, 2), 0x12);
}

TEST_F(EditorGrid, EditKeyOpensAnEmptyEditor)
{
    editor.gridMoveCurrent({1, 3});
    editor.gridEditKey();
    ASSERT_TRUE(state().gridEditor.open);
    EXPECT_EQ(state().gridEditor.text, "");
    type("5E");
    EXPECT_EQ(byteOf(1, 2), 0x5E);
}

TEST_F(EditorGrid, EditorNeverOpensOnACharacterCell)
{
    editor.gridMoveCurrent({1, 19});
    EXPECT_FALSE(editor.canEditColumn(19));
    type("4");
    EXPECT_FALSE(state().gridEditor.open);
    editor.gridEditKey();
    EXPECT_FALSE(state().gridEditor.open);
    type("F");
    editor.gridMoveCurrent({2, 3});
    EXPECT_EQ(byteOf(1, 2), 0x12);
}

TEST_F(EditorGrid, EditorOnACellWithoutAByteDropsItsText)
{
    editor.selectSegment(0);
    editor.gridMoveCurrent({1, 2});  // a lead cell
    type("99");
    EXPECT_EQ(editor.document().segments[0].data, Bytes(12, 0x01));
    EXPECT_EQ(state().current, (GridCell{1, 3}));
}

TEST_F(EditorGrid, LeavingTheGridWritesTheSegmentTheDigitWasTypedIn)
{
    editor.gridMoveCurrent({1, 3});
    type("7");
    editor.gridFocusLost();  // the window reports this before the list reacts
    editor.selectSegment(0);
    EXPECT_EQ(byteOf(1, 2), 0x07);
    EXPECT_EQ(editor.document().segments[0].data, Bytes(12, 0x01));
}

TEST_F(EditorGrid, NextAndPreviousSegmentWriteTheSegmentTheDigitWasTypedIn)
{
    editor.gridMoveCurrent({1, 3});
    type("7");
    editor.nextSegment();  // Ctrl+N: the focus stays on the grid
    EXPECT_FALSE(state().gridEditor.open);
    EXPECT_EQ(byteOf(1, 2), 0x07);
    editor.gridMoveCurrent({1, 4});
    EXPECT_EQ(byteOf(2, 0), 0x41);

    editor.gridMoveCurrent({1, 3});
    type("6");
    editor.previousSegment();
    EXPECT_EQ(byteOf(2, 0), 0x06);
    EXPECT_EQ(byteOf(1, 2), 0x07);
}

TEST_F(EditorGrid, OpeningAFileHandsOverToTheOldDocument)
{
    editor.gridMoveCurrent({1, 6});
    type("7");
    editor.loadFile(test::tempPath("missing.rsc"));
    EXPECT_FALSE(state().gridEditor.open);
    EXPECT_EQ(byteOf(1, 5), 0x07);

    type("8");
    editor.loadFile(test::writeTempFile(gridFile(), "other.rsc"));
    EXPECT_FALSE(state().gridEditor.open);
    editor.gridMoveCurrent({1, 7});
    EXPECT_EQ(editor.document().segments[0].data, Bytes(12, 0x01));  // the new file is untouched
}

// The list line and the text line both show the typed byte at once, so that applying the line
// later keeps it.
TEST_F(EditorGrid, EditingABlockShowsInItsLineAndInTheTextLineAtOnce)
{
    editor.selectSegment(2);
    std::string before = line(2);
    editor.gridMoveCurrent({1, 3});  // lead 2: byte 0
    type("5A");
    EXPECT_EQ(before.substr(before.find(' ')), " ABC");
    EXPECT_EQ(line(2), before.substr(0, before.find(' ')) + " ZBC");
    EXPECT_EQ(textLine(), "ZBC");
    editor.textLineEdited(u"ZBC!");
    editor.applyTextLine();
    EXPECT_EQ(line(2), before.substr(0, before.find(' ')) + " ZBC!");
}

TEST_F(EditorGrid, HandedOverTextIsReadAsHex)
{
    editor.storeTypedByte("1FF", {1, 1});
    EXPECT_EQ(byteOf(1, 0), 0xFF);
    editor.storeTypedByte("G1", {1, 2});
    EXPECT_EQ(byteOf(1, 1), 0x00);
    editor.storeTypedByte("4f", {1, 3});
    EXPECT_EQ(byteOf(1, 2), 0x4F);
    editor.storeTypedByte("", {1, 4});
    EXPECT_EQ(byteOf(1, 3), 0x00);
    editor.storeTypedByte("77", {1, 20});  // a character cell is not written
    EXPECT_EQ(byteOf(1, 3), 0x00);
    editor.storeTypedByte("77", {4, 1});  // past the last byte
    EXPECT_EQ(editor.document().segments[1].data.size(), 48u);
}

TEST_F(EditorGrid, PressAndReleaseMarkTheRunInEitherOrder)
{
    press({1, 3});
    release({2, 5});
    EXPECT_EQ(state().selection, (GridSelection{1, 3, 2, 5}));
    EXPECT_EQ(copied(), "12131415161718191A1B1C1D1E1F2021222324");

    press({2, 5});
    release({1, 3});
    EXPECT_EQ(state().selection, (GridSelection{1, 3, 2, 5}));
}

TEST_F(EditorGrid, PressAndReleaseOnACharacterCellMarkItsByte)
{
    press({2, 20});
    release({2, 20});
    EXPECT_EQ(state().selection, (GridSelection{2, 4, 2, 4}));
    EXPECT_EQ(copied(), "23");
}

TEST_F(EditorGrid, SelectionFromTheOffsetColumnCopiesOnlyItsOwnRow)
{
    press({3, 0});
    EXPECT_EQ(state().current, (GridCell{1, 1}));  // a fixed cell never becomes current
    release({3, 2});
    EXPECT_EQ(state().selection, (GridSelection{3, 0, 3, 2}));
    EXPECT_EQ(copied(), "3031");
}

TEST_F(EditorGrid, PressOnTheCurrentCellOpensTheEditorAndTheReleaseKeepsOneCell)
{
    editor.gridMoveCurrent({1, 3});
    press({1, 3});
    EXPECT_TRUE(state().gridEditor.open);
    release({2, 5});
    EXPECT_EQ(state().selection, (GridSelection{1, 3, 1, 3}));
    // Even when the window reports the grid as focused, an open editor holds the focus.
    editor.gridMouseRelease(MouseButton::Left, {2, 5}, true);
    EXPECT_EQ(state().selection, (GridSelection{1, 3, 1, 3}));
}

TEST_F(EditorGrid, OtherButtonsKeepTheSelectionButHandOverTheEditor)
{
    press({1, 3});
    release({1, 6});
    editor.gridMoveCurrent({2, 1});
    type("9");
    editor.gridMousePress(MouseButton::Right, {3, 8});
    editor.gridMouseRelease(MouseButton::Right, {3, 8}, true);
    EXPECT_EQ(state().selection, (GridSelection{1, 3, 1, 6}));
    EXPECT_EQ(byteOf(1, 16), 0x09);
}

TEST_F(EditorGrid, CopyAfterASegmentSelectionEmptiesTheClipboard)
{
    press({1, 3});
    release({1, 6});
    editor.selectSegment(0);
    prompts.clipboard = "old text";
    EXPECT_EQ(copied(), "");
}

TEST_F(EditorGrid, CopyWithoutASegmentIsEmpty)
{
    editor.loadFile(test::writeTempFile(bytesFromHex("00 00 00 00"), "empty.rsc"));
    prompts.clipboard = "old text";
    EXPECT_EQ(copied(), "");
    editor.storeTypedByte("12", {1, 1});  // no segment: nothing happens
}

TEST_F(EditorGrid, GridClickEndsForceMode)
{
    editor.gridMoveCurrent({2, 7});
    editor.forceUnicode();
    ASSERT_TRUE(state().forceMode);
    ASSERT_TRUE(state().textStripVisible);
    press({0, 5});  // the header row: no click
    EXPECT_TRUE(state().forceMode);
    press({2, 7});  // the current cell: the press itself clicks
    EXPECT_FALSE(state().forceMode);
    EXPECT_FALSE(state().textStripVisible);
}

TEST_F(EditorGrid, KeyboardMoveEndsForceMode)
{
    editor.forceUnicode();
    ASSERT_TRUE(state().forceMode);
    editor.gridMoveCurrent({1, 2});
    EXPECT_FALSE(state().forceMode);
    EXPECT_FALSE(state().textStripVisible);
}

TEST_F(EditorGrid, FewerRowsMoveTheCurrentCellToTheLastRow)
{
    editor.gridMoveCurrent({3, 7});
    editor.selectSegment(2);
    EXPECT_EQ(state().rowCount, 2);
    EXPECT_EQ(state().current, (GridCell{1, 7}));
    editor.selectSegment(1);
    EXPECT_EQ(state().current, (GridCell{1, 7}));  // more rows do not move it
}

}  // namespace
}  // namespace quillet
