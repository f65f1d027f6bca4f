#include <gtest/gtest.h>

#include "app/editor.h"
#include "support/byte_strings.h"
#include "support/resource_builder.h"
#include "support/scripted_prompts.h"

namespace quillet {
namespace {

using test::bytesFromHex;
using test::hexOf;

class EditorText : public ::testing::Test {
protected:
    test::ScriptedPrompts prompts;
    Editor editor{prompts, *CodePage::byName("1252")};

    void open(const Bytes& file) { editor.loadFile(test::writeTempFile(file, "text.rsc")); }
    void select(std::size_t line) { editor.selectSegment(line); }
    void apply(const std::string& line)
    {
        editor.textLineEdited(line);
        editor.applyTextLine();
    }
    Bytes save()
    {
        std::string path = test::tempPath("text-saved.rsc");
        prompts.saveNames.push_back(path);
        editor.saveFileAs();
        return test::readFileBytes(path);
    }
    const Document& document() const { return editor.document(); }
    const Segment& segment(std::size_t s) const { return document().segments[s]; }
};

TEST_F(EditorText, WorkedExampleHiBecomesHeyAndMovesWhatFollows)
{
    open(test::workedExampleFile());
    select(1);
    ASSERT_EQ(editor.state().textLine, "Hi");
    ASSERT_TRUE(editor.state().textStripVisible);
    apply("Hey");

    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(document().indexTable, (IndexEntries{4, 7, 15}));
    EXPECT_EQ(document().indexLine(2), "000F(2)");
    EXPECT_EQ(segment(0).offset, 3);
    EXPECT_EQ(segment(1).offset, 7);
    EXPECT_EQ(segment(1).size, 6);
    EXPECT_EQ(hexOf(segment(1).data), "48 00 65 00 79 00");
    EXPECT_EQ(segment(2).offset, 14);
    EXPECT_EQ(document().segmentLines,
              (std::vector<std::string>{"001(0) 0004:0006", "002(1) Hey", "003(2) 000F:0011"}));
    // The selection handling ran again for the block.
    EXPECT_EQ(editor.state().selectedSegment, 1u);
    EXPECT_EQ(editor.state().textLine, "Hey");
    EXPECT_EQ(editor.state().messagePanel, "Already entered 3 char(s)");
    EXPECT_FALSE(editor.state().forceMode);
    EXPECT_EQ(editor.state().selection, GridSelection{});

    EXPECT_EQ(hexOf(save()), hexOf(bytesFromHex(
                                 "12 00 02 00 | 01 02 03 | 03 AB 48 00 65 00 79 00 | 05 06 07 | 04 00 07 00 0F 00 | 12 00")));
}

TEST_F(EditorText, WorkedExampleSavedUnchangedGivesTheFileBack)
{
    open(test::workedExampleFile());
    EXPECT_EQ(hexOf(save()), hexOf(test::workedExampleFile()));
}

TEST_F(EditorText, GrowingAndShrinkingMovesLaterOffsetsAndEntriesAboveTheBlock)
{
    // Entries: 4 (data), 7 (block count byte), 19 (data after the block).
    open(test::resourceFile({"01 02 03", "05 AB 41 00 42 00 43 00 44 00 45 00", "07 08"}));
    select(1);
    ASSERT_EQ(editor.state().textLine, "ABCDE");
    apply("ABC");
    EXPECT_EQ(document().indexTable, (IndexEntries{4, 7, 15}));
    EXPECT_EQ(segment(2).offset, 14);
    EXPECT_EQ(document().segmentLines[2], "003(2) 000F:0010");
    EXPECT_EQ(document().indexLine(2), "000F(2)");

    apply("ABCD");
    EXPECT_EQ(hexOf(segment(1).data), "41 00 42 00 43 00 44 00");
    EXPECT_EQ(document().indexTable, (IndexEntries{4, 7, 17}));
    EXPECT_EQ(segment(2).offset, 16);
    EXPECT_EQ(document().segmentLines[2], "003(2) 0011:0012");
}

TEST_F(EditorText, EmptyLineEmptiesTheBlockAndSavesCountZero)
{
    open(test::workedExampleFile());
    select(1);
    apply("");
    EXPECT_EQ(segment(1).size, 0);
    EXPECT_TRUE(segment(1).data.empty());
    EXPECT_EQ(document().segmentLines[1], "002(1) ");
    EXPECT_EQ(document().indexTable, (IndexEntries{4, 7, 9}));
    EXPECT_EQ(hexOf(save()), hexOf(bytesFromHex("0C 00 02 00 | 01 02 03 | 00 AB | 05 06 07 | 04 00 07 00 09 00 | 0C 00")));
}

TEST_F(EditorText, UnchangedLineRebuildsTheDataLinesButChangesNoByte)
{
    Bytes file = test::resourceFile({"01 02 03", "02 AB 48 00 69 00", "41 00 42 00"});
    open(file);
    // Force unicode puts text into the last data line; the block's apply gives its range back.
    select(2);
    editor.forceUnicode();
    editor.applyTextLine();
    ASSERT_EQ(document().segmentLines[2], "003(2) AB");
    select(1);
    editor.applyTextLine();
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(document().segmentLines,
              (std::vector<std::string>{"001(0) 0004:0006", "002(1) Hi", "003(2) 000D:0010"}));
    EXPECT_EQ(hexOf(save()), hexOf(file));
}

TEST_F(EditorText, EntryAtTheBlocksCountByteStaysAndPositionsWrapModulo65536)
{
    open(test::workedExampleFile());
    editor.document().indexTable = {4, 7, 13, 0xFFFF};
    select(1);
    apply("Hello");
    EXPECT_EQ(document().indexTable, (IndexEntries{4, 7, 19, 5}));
    EXPECT_EQ(document().indexLine(3), "0005(3)");
}

TEST_F(EditorText, ApplyOnADataSegmentOutsideForceModeDoesNothing)
{
    open(test::workedExampleFile());
    select(0);
    Document before = document();
    editor.textLineEdited("xyz");
    editor.applyTextLine();
    EXPECT_EQ(document().segmentLines, before.segmentLines);
    EXPECT_EQ(segment(0).data, before.segments[0].data);
}

TEST_F(EditorText, CounterCountsCharactersAndKeepsAMessageUpToItsDot)
{
    // An empty block after a data segment: the panel is emptied and the text line stays empty.
    open(test::resourceFile({"01 02 03", "00 AB", "05 06"}));
    select(1);
    EXPECT_EQ(editor.state().messagePanel, "");
    editor.textLineEdited("a");
    EXPECT_EQ(editor.state().messagePanel, "Already entered 1 char(s)");
    editor.textLineEdited("ab");
    EXPECT_EQ(editor.state().messagePanel, "Already entered 2 char(s)");
}

TEST_F(EditorText, CounterAfterForceUnicodeKeepsItsCount)
{
    open(test::resourceFile({"00 02 41 00 42 00", "05 06 07"}));
    // Data start 4: index 2 is in cell (1, 7), index 5 in (1, 10).
    editor.gridMousePress(MouseButton::Left, {1, 7});
    editor.gridMouseRelease(MouseButton::Left, {1, 10}, true);
    editor.forceUnicode();
    EXPECT_EQ(editor.state().textLine, "AB");
    EXPECT_EQ(editor.state().messagePanel, "Force unicode 2 char(s). Already entered 2 char(s)");
    editor.textLineEdited("ABC");
    EXPECT_EQ(editor.state().messagePanel, "Force unicode 2 char(s). Already entered 3 char(s)");
    editor.textLineEdited("ABCD");
    EXPECT_EQ(editor.state().messagePanel, "Force unicode 2 char(s). Already entered 4 char(s)");
}

TEST_F(EditorText, LineOverTheCountBytesRangeChangesNothingAndWarns)
{
    open(test::workedExampleFile());
    select(1);
    Document before = document();
    apply(std::string(256, 'x'));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].kind, MessageKind::Warning);
    EXPECT_NE(prompts.messages[0].text.find("255"), std::string::npos);
    EXPECT_EQ(segment(1).data, before.segments[1].data);
    EXPECT_EQ(document().indexTable, before.indexTable);
    EXPECT_EQ(document().segmentLines, before.segmentLines);
    EXPECT_EQ(segment(2).offset, before.segments[2].offset);

    apply(std::string(255, 'x'));
    EXPECT_EQ(segment(1).size, 510);
    EXPECT_EQ(prompts.messages.size(), 1u);
    Bytes saved = save();
    EXPECT_EQ(saved[7], 0xFF);  // the count byte
}

// In a double-byte code page each character of a block shows as two bytes of the line, so a
// block of 200 characters fills a line of 400.
TEST(EditorTextDoubleByte, UnchangedLongLineKeepsTheBlockAndAnEditedOneIsRefused)
{
    test::ScriptedPrompts prompts;
    Editor editor{prompts, *CodePage::byName("932")};
    std::string block = "C8 AB";
    for (int i = 0; i < 200; ++i) block += " 42 30";  // U+3042
    Bytes file = test::resourceFile({"01 02 03", block, "05 06"});
    editor.loadFile(test::writeTempFile(file, "dbcs.rsc"));
    editor.selectSegment(1);
    std::string line = editor.state().textLine;
    ASSERT_EQ(line.size(), 400u);
    Bytes data = editor.document().segments[1].data;

    editor.applyTextLine();
    EXPECT_EQ(editor.document().segments[1].data, data);
    EXPECT_TRUE(prompts.messages.empty());

    editor.textLineEdited(line.substr(0, 398));
    editor.applyTextLine();
    EXPECT_EQ(editor.document().segments[1].data, data);
    EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST_F(EditorText, UnchangedLineOfABlockWithUnitZeroKeepsItsBytes)
{
    open(test::resourceFile({"01 02 03", "03 AB 41 00 00 00 42 00", "05 06"}));
    select(1);
    ASSERT_EQ(editor.state().textLine, "A");  // the field ends at the unit 0
    editor.applyTextLine();
    EXPECT_EQ(hexOf(segment(1).data), "41 00 00 00 42 00");
    EXPECT_EQ(document().indexTable, (IndexEntries{4, 7, 15}));
    EXPECT_EQ(document().segmentLines[1], "002(1) AB");

    // Typed away and back: still the program's text, still unchanged.
    editor.textLineEdited("Ax");
    editor.textLineEdited("A");
    editor.applyTextLine();
    EXPECT_EQ(hexOf(segment(1).data), "41 00 00 00 42 00");

    apply("AC");
    EXPECT_EQ(hexOf(segment(1).data), "41 00 43 00");
    EXPECT_EQ(document().indexTable, (IndexEntries{4, 7, 13}));
}

TEST_F(EditorText, UnchangedLineOfAnUnmappableUnitKeepsItsBytes)
{
    open(test::resourceFile({"01 02 03", "02 AB 00 4E 41 00", "05 06"}));
    select(1);
    ASSERT_EQ(editor.state().textLine, "?A");
    editor.applyTextLine();
    EXPECT_EQ(hexOf(segment(1).data), "00 4E 41 00");
    apply("?B");
    EXPECT_EQ(hexOf(segment(1).data), "3F 00 42 00");
}

TEST_F(EditorText, GridEditOfABlockReachesItsLineWhenTheUnchangedLineIsApplied)
{
    open(test::resourceFile({"01 02 03", "02 AB 00 4E 41 00", "05 06"}));
    select(1);
    // Byte 2 of the block (data start 9, lead 9) is in cell (1, 12).
    editor.gridMoveCurrent({1, 12});
    editor.gridTypeCharacter("4");
    editor.gridTypeCharacter("2");
    ASSERT_EQ(hexOf(segment(1).data), "00 4E 42 00");
    EXPECT_EQ(document().segmentLines[1], "002(1) ?A");
    editor.applyTextLine();
    EXPECT_EQ(hexOf(segment(1).data), "00 4E 42 00");
    EXPECT_EQ(document().segmentLines[1], "002(1) ?B");
}

}  // namespace
}  // namespace quillet
