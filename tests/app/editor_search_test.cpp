#include <gtest/gtest.h>

#include "app/editor.h"
#include "support/byte_strings.h"
#include "support/editor_fixture.h"
#include "support/resource_builder.h"
#include "views/grid_geometry.h"

namespace quillet {
namespace {

using test::bytesFromHex;
using test::hexOf;

using test::repeatedHex;
using test::resourceFile;

class EditorSearch : public test::EditorFixture {
protected:
    void find(const std::string& text, PatternMode mode = PatternMode::HexData)
    {
        prompts.findDialogs.push_back({FindFields{test::u16(text), mode}, true});
        editor.find();
    }
    void replace(const std::string& lookFor, const std::string& with, ReplaceStart start = ReplaceStart::Begin,
                 PatternMode mode = PatternMode::HexData)
    {
        prompts.replaceDialogs.push_back({ReplaceFields{test::u16(lookFor), test::u16(with), mode, start}, true});
        editor.replace();
    }
    // The selected segment and the index in its Data of the byte under the current cell.
    std::pair<std::size_t, std::int64_t> currentByte() const
    {
        std::size_t segment = *editor.state().selectedSegment;
        int lead = gridLead(editor.document(), editor.document().segments[segment]);
        GridCell cell = editor.state().current;
        return {segment, (cell.row - 1) * 16 + (cell.col - 1) - lead};
    }
    Bytes data(std::size_t segment) const { return bytesOf(segment); }
};

TEST_F(EditorSearch, HitBecomesTheCurrentAndOnlySelectedCell)
{
    open(resourceFile({"30 41 42"}));  // data start 4: lead 4
    find("4142");
    EXPECT_EQ(editor.state().current, (GridCell{1, 6}));
    EXPECT_EQ(editor.state().selection, (GridSelection{1, 6, 1, 6}));
}

TEST_F(EditorSearch, HexTextIsPairsOfDigitsWithSpacesBetweenThem)
{
    open(resourceFile({"41 42 00 41 00 43 41"}));
    find("00 41");
    EXPECT_EQ(currentByte(), (std::pair<std::size_t, std::int64_t>{0, 2}));
    find(" 0043 ");
    EXPECT_EQ(currentByte(), (std::pair<std::size_t, std::int64_t>{0, 4}));
}

// Read leniently, "414" looked for 41 and "4" for nothing, which stopped on any byte.
TEST_F(EditorSearch, MistypedHexTextIsRefusedWithAWarningAndMovesNothing)
{
    open(resourceFile({"00 01", "02 03 04"}));
    editor.selectSegment(1);
    editor.gridMoveCurrent({2, 3});
    const GridCell current = editor.state().current;
    for (const char* text : {"4", "414", "4X", "0x41", "  "}) {
        prompts.messages.clear();
        find(text);
        ASSERT_EQ(prompts.messages.size(), 1u) << text;
        EXPECT_EQ(prompts.messages[0].kind, MessageKind::Warning);
        EXPECT_NE(prompts.messages[0].text.find("write each byte as two hex digits"), std::string::npos);
        EXPECT_EQ(editor.state().current, current) << text;
        EXPECT_EQ(editor.state().selection, GridSelection{}) << text;
    }
    // Find next with the mistyped text kept from the dialog warns the same way.
    prompts.messages.clear();
    editor.findNext();
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(editor.state().current, current);
}

TEST_F(EditorSearch, ReplaceWithAMistypedHexTextNeverRuns)
{
    open(resourceFile({"41 41 41 41"}));
    for (auto [lookFor, with] : {std::pair{"41 4", "42 4"}, std::pair{"4X", "42"}, std::pair{"41", "4G"}}) {
        prompts.messages.clear();
        replace(lookFor, with);
        ASSERT_EQ(prompts.messages.size(), 1u) << lookFor;
        EXPECT_EQ(prompts.messages[0].kind, MessageKind::Warning);
    }
    EXPECT_EQ(hexOf(data(0)), "41 41 41 41");
    EXPECT_FALSE(editor.canUndo());
}

TEST_F(EditorSearch, TextIsCaseSensitiveAndUnicodeTextMatchesItsUnits)
{
    open(resourceFile({"41 42 61 62 41 00 42 00"}));
    find("ab", PatternMode::Text);
    EXPECT_EQ(currentByte().second, 2);
    find("AB", PatternMode::TextUnicode);
    EXPECT_EQ(currentByte().second, 4);
}

TEST_F(EditorSearch, FindNextVisitsOverlappingHitsAndStopsAtTheEnd)
{
    open(resourceFile({"41 41 41 41"}));
    find("4141");
    EXPECT_EQ(currentByte().second, 0);
    editor.findNext();
    EXPECT_EQ(currentByte().second, 1);
    editor.findNext();
    EXPECT_EQ(currentByte().second, 2);
    auto before = editor.state();
    editor.findNext();  // no wrap-around: nothing changes
    EXPECT_EQ(editor.state().current, before.current);
    EXPECT_EQ(editor.state().selection, before.selection);
}

TEST_F(EditorSearch, SearchesOnlyForwardAndWithinSegments)
{
    open(resourceFile({"41 42", "00 41", "42 00", "01"}));
    editor.selectSegment(1);
    find("4142");  // 41 42 lies before; 41 | 42 runs across a boundary
    EXPECT_EQ(*editor.state().selectedSegment, 1u);
    EXPECT_EQ(editor.state().selection, GridSelection{});
}

TEST_F(EditorSearch, HitInALaterSegmentSelectsItInBothLists)
{
    open(resourceFile({"00 01", "02 03", "41 42"}));
    find("42");
    EXPECT_EQ(*editor.state().selectedSegment, 2u);
    EXPECT_EQ(*editor.state().selectedIndexLine, 2u);
    EXPECT_EQ(currentByte().second, 1);
}

TEST_F(EditorSearch, CountBytesAndMarkersAreNeverMatched)
{
    open(resourceFile({"01 02", "02 AB 48 00 69 00", "05"}));
    find("02AB");
    find("AB");
    EXPECT_EQ(*editor.state().selectedSegment, 0u);
    EXPECT_EQ(editor.state().selection, GridSelection{});
    find("Hi", PatternMode::TextUnicode);
    EXPECT_EQ(currentByte(), (std::pair<std::size_t, std::int64_t>{1, 0}));
    replace("AB", "CD");
    EXPECT_EQ(lastMessage(), "Make 0 replace(s)");
}

// A character cell stands for its byte: Find next and Replace from the current position start
// after that byte, as from its byte cell.
TEST_F(EditorSearch, FindNextAndReplaceStartAfterTheCurrentCellsByteInEitherColumn)
{
    open(resourceFile({repeatedHex("41", 40)}));  // lead 4: byte 0 in column 5
    prompts.findDialogs.push_back({FindFields{u"41", PatternMode::HexData}, false});
    editor.find();                        // Cancel keeps the text for Find next
    editor.gridMoveCurrent({1, 5 + 16});  // the character cell of byte 0
    editor.findNext();
    EXPECT_EQ(currentByte().second, 1);
    editor.gridMoveCurrent({2, 2 + 16});  // the character cell of byte 13
    editor.findNext();
    EXPECT_EQ(currentByte().second, 14);
    editor.gridMoveCurrent({1, 2});  // a lead cell: start at the first byte
    editor.findNext();
    EXPECT_EQ(currentByte().second, 0);
}

TEST_F(EditorSearch, ReplaceFromTheCurrentCharacterCellStartsAfterItsByte)
{
    open(bytesFromHex("30 31 32 33 34 35 36 37 38 39 3A 3B 3C 3D 3E 3F 31 32"), "raw.bin");  // no index
    editor.gridMoveCurrent({1, 1 + 16});  // the character cell of byte 0
    prompts.findDialogs.push_back({FindFields{u"3132", PatternMode::HexData}, false});
    editor.find();
    editor.findNext();
    EXPECT_EQ(currentByte(), (std::pair<std::size_t, std::int64_t>{0, 1})) << "the hit right after byte 0";

    editor.gridMoveCurrent({1, 1 + 16});
    prompts.replaceDialogs.push_back(
        {ReplaceFields{u"3132", u"4142", PatternMode::HexData, ReplaceStart::CurrentPos}, true});
    editor.replace();
    EXPECT_EQ(lastMessage(), "Make 2 replace(s)");
}

// A search that finds nothing says so where the person looks, and leaves the cell where it was.
TEST_F(EditorSearch, NoFurtherHitIsSaidInTheStatusBar)
{
    open(resourceFile({"41 42 43"}));
    find("4243");
    EXPECT_EQ(state().focus, FocusRequest::Grid) << "a hit puts the focus on the grid";
    GridCell hit = state().current;
    editor.findNext();
    EXPECT_EQ(state().messagePanel, "Not found from here to the end of the file.");
    EXPECT_EQ(state().current, hit);
    find("4444");
    EXPECT_EQ(state().messagePanel, "Not found from this segment to the end of the file.");
}

TEST_F(EditorSearch, WithoutAFileOrATextNothingIsAsked)
{
    editor.find();
    editor.replace();
    EXPECT_EQ(prompts.findDialogShown, 0);
    EXPECT_EQ(prompts.replaceDialogShown, 0);
    open(resourceFile({"41"}));
    editor.findNext();  // the find text is still empty
    EXPECT_EQ(editor.state().selection, GridSelection{});
}

TEST_F(EditorSearch, RawFileHasNoLead)
{
    open(bytesFromHex("01 00 41 41 42"));  // first and last words differ
    ASSERT_TRUE(editor.document().noIndex);
    find("42");
    EXPECT_EQ(editor.state().current, (GridCell{1, 5}));
}

// Which places are replaced is the model's (tests/search/byte_search_test): here, what is said.
TEST_F(EditorSearch, ReplaceTellsHowManyPlacesItReplaced)
{
    open(resourceFile({"41 41 41"}));
    replace("4141", "4241");
    EXPECT_EQ(hexOf(data(0)), "42 42 41");
    EXPECT_EQ(prompts.messages.back().kind, MessageKind::Information);
    EXPECT_EQ(prompts.messages.back().caption, "Information");
    EXPECT_EQ(lastMessage(), "Make 2 replace(s)");
}

TEST_F(EditorSearch, BeginReplacesEverywhereCurrentPosOnlyAfterTheCurrentCell)
{
    open(resourceFile({"41 00", "41 00 41 00 41"}));
    editor.selectSegment(1);
    find("41");  // current cell on byte 0 of segment 1
    replace("41", "42", ReplaceStart::CurrentPos);
    EXPECT_EQ(lastMessage(), "Make 2 replace(s)");
    EXPECT_EQ(hexOf(data(0)), "41 00");
    EXPECT_EQ(hexOf(data(1)), "41 00 42 00 42");
    replace("41", "42", ReplaceStart::Begin);
    EXPECT_EQ(lastMessage(), "Make 2 replace(s)");
    EXPECT_EQ(hexOf(data(0)), "42 00");
    EXPECT_EQ(hexOf(data(1)), "42 00 42 00 42");
}

TEST_F(EditorSearch, ReplaceShowsTheSelectedSegmentAfreshOnlyWhenSomethingChanged)
{
    open(resourceFile({"41 42"}));
    find("42");
    replace("43", "44");
    EXPECT_EQ(editor.state().selection, (GridSelection{1, 6, 1, 6}));
    replace("42", "42");  // equal texts count and show afresh, changing nothing
    EXPECT_EQ(lastMessage(), "Make 1 replace(s)");
    EXPECT_EQ(editor.state().selection, GridSelection{});
}

TEST_F(EditorSearch, ReplacedTextShowsInTheBlocksLineAndTextLine)
{
    open(resourceFile({"01 02", "02 AB 48 00 69 00"}));
    editor.selectSegment(1);
    replace("i", "o", ReplaceStart::Begin, PatternMode::TextUnicode);
    EXPECT_EQ(line(1), "002(1) Ho");
    EXPECT_EQ(textLine(), "Ho");
}

// "?" is a real byte: a character the code page lacks must not become one and match it.
TEST_F(EditorSearch, TextWithACharacterTheCodePageLacksIsRefusedWithAWarning)
{
    open(resourceFile({"57 68 79 3F 3F 20 4F 6B 3F"}));  // "Why?? Ok?"
    const GridCell current = editor.state().current;
    find("\xD0\x96", PatternMode::Text);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(prompts.messages[0].text, "The text holds \"\xD0\x96\", which code page 1252 has no byte for.");
    EXPECT_EQ(editor.state().current, current);
    EXPECT_EQ(editor.state().selection, GridSelection{});

    // The same for the text to look for and for the replacement: a warning, no count, no change.
    for (auto [lookFor, with] : {std::pair{"\xD0\x96", "Z"}, std::pair{"Z", "\xD0\x96"}}) {
        prompts.messages.clear();
        replace(lookFor, with, ReplaceStart::Begin, PatternMode::Text);
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].kind, MessageKind::Warning);
        EXPECT_NE(prompts.messages[0].text.find("which code page 1252 has no byte for"), std::string::npos);
    }
    EXPECT_EQ(hexOf(data(0)), "57 68 79 3F 3F 20 4F 6B 3F");
    EXPECT_FALSE(editor.canUndo());
}

}  // namespace
}  // namespace quillet
