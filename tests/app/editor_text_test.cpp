#include <gtest/gtest.h>

#include "app/editor.h"
#include "model/line_format.h"
#include "model/saver.h"
#include "support/byte_strings.h"
#include "support/editor_fixture.h"
#include "support/resource_builder.h"

namespace quillet {
namespace {

using test::hexOf;

class EditorText : public test::EditorFixture {};

// Where the entries and offsets go is the model's index rule (tests/model/edit_operations_test):
// here, what the Editor asks, writes and shows.
TEST_F(EditorText, AppliedTextIsWrittenAndShownAgain)
{
    open(test::workedExampleFile());
    select(1);
    ASSERT_EQ(textLine(), "Hi");
    ASSERT_TRUE(state().textStripVisible);
    apply("Hey");
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(hexOf(segment(1).data), "48 00 65 00 79 00");
    EXPECT_EQ(line(1), "002(1) Hey");
    // The selection handling ran again for the block.
    EXPECT_EQ(state().selectedSegment, 1u);
    EXPECT_EQ(textLine(), "Hey");
    EXPECT_EQ(state().messagePanel, "Already entered 3 char(s)");
    EXPECT_FALSE(state().forceMode);
    EXPECT_EQ(state().selection, GridSelection{});

    apply("");
    EXPECT_TRUE(segment(1).data.empty());
    EXPECT_EQ(line(1), "002(1) ");
}

TEST_F(EditorText, UnchangedLineRebuildsTheDataLinesButChangesNoByte)
{
    Bytes file = test::resourceFile({"01 02 03", "02 AB 48 00 69 00", "41 00 42 00"});
    open(file);
    // Force unicode puts text into the last data line; the block's apply gives its range back.
    select(2);
    editor.forceUnicode();
    editor.applyTextLine();
    ASSERT_EQ(line(2), "003(2) AB");
    select(1);
    editor.applyTextLine();
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(lines(), (std::vector<std::string>{"001(0) 0004:0006", "002(1) Hi", "003(2) 000D:0010"}));
    EXPECT_EQ(hexOf(save()), hexOf(file));
}

TEST_F(EditorText, ApplyOnADataSegmentOutsideForceModeDoesNothing)
{
    open(test::workedExampleFile());
    select(0);
    Document before = document();
    editor.textLineEdited(u"xyz");
    editor.applyTextLine();
    EXPECT_EQ(lines(), test::linesOf(before));
    EXPECT_EQ(segment(0).data, before.segments[0].data);
}

TEST_F(EditorText, CounterCountsCharactersAndKeepsAMessageUpToItsDot)
{
    // An empty block after a data segment: the panel is emptied and the text line stays empty.
    open(test::resourceFile({"01 02 03", "00 AB", "05 06"}));
    select(1);
    EXPECT_EQ(editor.state().messagePanel, "");
    editor.textLineEdited(u"a");
    EXPECT_EQ(editor.state().messagePanel, "Already entered 1 char(s)");
    editor.textLineEdited(u"ab");
    EXPECT_EQ(editor.state().messagePanel, "Already entered 2 char(s)");
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
    EXPECT_EQ(hexOf(savedImage(document())), hexOf(savedImage(before)));
    EXPECT_EQ(lines(), test::linesOf(before));

    apply(std::string(255, 'x'));
    EXPECT_EQ(segment(1).size(), 510);
    EXPECT_EQ(prompts.messages.size(), 1u);
}

// The text line holds a block's units exactly, whatever the code page: a double-byte one, or
// one that lacks the block's characters.
class EditorTextInCodePage : public test::EditorFixture, public ::testing::WithParamInterface<int> {
protected:
    EditorTextInCodePage() : EditorFixture(GetParam()) {}
};

TEST_P(EditorTextInCodePage, BlocksKeepEveryUntouchedCharacter)
{
    const std::u16string japanese = u"\u3042\u3044\u3046";         // あいう
    const std::u16string mixed = u"\u0416\u0141\u00E9\U0001F600";  // Ж Ł é and an emoji
    for (const std::u16string& text : {japanese, mixed}) {
        std::string hex = hexOf(Bytes{static_cast<std::uint8_t>(text.size()), UnicodeMarker});
        open(test::resourceFile({"01 02 03", hex + " " + hexOf(bytesOfUnits(text)), "05 06"}));
        select(1);
        ASSERT_EQ(state().textLine, text);
        editor.textLineEdited(text + u"A");
        editor.applyTextLine();
        EXPECT_EQ(hexOf(segment(1).data), hexOf(bytesOfUnits(text + u"A")));
        EXPECT_EQ(line(1), "002(1) " + test::utf8(text) + "A");
        EXPECT_TRUE(prompts.messages.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(DoubleByteAndWestern, EditorTextInCodePage, ::testing::Values(932, 936, 949, 950, 1252));

TEST_F(EditorText, UnchangedLineOfABlockWithUnitZeroKeepsItsBytes)
{
    open(test::resourceFile({"01 02 03", "03 AB 41 00 00 00 42 00", "05 06"}));
    select(1);
    ASSERT_EQ(textLine(), "A");  // the field ends at the unit 0
    editor.applyTextLine();
    EXPECT_EQ(hexOf(segment(1).data), "41 00 00 00 42 00");
    EXPECT_EQ(line(1), "002(1) AB");

    // Typed away and back: still the program's text, still unchanged.
    editor.textLineEdited(u"Ax");
    editor.textLineEdited(u"A");
    editor.applyTextLine();
    EXPECT_EQ(hexOf(segment(1).data), "41 00 00 00 42 00");

    apply("AC");
    EXPECT_EQ(hexOf(segment(1).data), "41 00 43 00");
}

TEST_F(EditorText, CharactersTheCodePageLacksAreShownAndWrittenExactly)
{
    open(test::resourceFile({"01 02 03", "02 AB 00 4E 41 00", "05 06"}));
    select(1);
    ASSERT_EQ(textLine(), "\xE4\xB8\x80"
                          "A");  // 一A
    editor.applyTextLine();
    EXPECT_EQ(hexOf(segment(1).data), "00 4E 41 00");
    apply("\xC5\x81?");  // Ł typed in a 1252 locale, and a question mark
    EXPECT_EQ(hexOf(segment(1).data), "41 01 3F 00");
    EXPECT_EQ(line(1), "002(1) \xC5\x81?");
}

}  // namespace
}  // namespace quillet
