#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/editor.h"
#include "model/saver.h"
#include "support/byte_strings.h"
#include "support/editor_fixture.h"
#include "support/resource_builder.h"

namespace quillet {
namespace {

using test::bytesFromHex;
using test::hexOf;

const char* const ResizeQuestion = "Length text incorrect!!! Resize block?";
const char* const HeaderQuestion = "Recalculate header byte?";

class EditorEdit : public test::EditorFixture {};

// Deletion ---------------------------------------------------------------------------------
// Where the entries and offsets go is the model's index rule (tests/model/edit_operations_test):
// here, what the Editor asks and what it selects afterwards.

TEST_F(EditorEdit, DeletionAsksFirstAndSelectsTheLineThatTookTheDeletedOnesPlace)
{
    open(test::workedExampleFile());
    select(1);
    deleteCurrent(true);
    ASSERT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(prompts.questions[0].kind, MessageKind::Warning);
    EXPECT_EQ(prompts.questions[0].caption, "Warning");
    EXPECT_EQ(prompts.questions[0].text, "File may be corrupted, are you sure?");
    EXPECT_EQ(lines(), (std::vector<std::string>{"001(0) 0004:0006", "003(2) 0007:0009"}));
    EXPECT_EQ(state().selectedSegment, 1u);
    EXPECT_FALSE(state().textStripVisible);
    EXPECT_EQ(state().selectedIndexLine, 2u);
}

TEST_F(EditorEdit, DeletingTheFirstLineShowsTheBlockBehindIt)
{
    open(test::workedExampleFile());
    deleteCurrent(true);
    EXPECT_EQ(state().selectedSegment, 0u);
    EXPECT_TRUE(state().textStripVisible);
    EXPECT_EQ(textLine(), "Hi");
}

TEST_F(EditorEdit, AnswerNoDeletesNothing)
{
    open(test::workedExampleFile());
    select(1);
    deleteCurrent(false);
    EXPECT_EQ(document().segments.size(), 3u);
    EXPECT_EQ(hexOf(save()), hexOf(test::workedExampleFile()));
}

TEST_F(EditorEdit, DeletingTheLastLineSelectsTheNewLastLine)
{
    open(test::workedExampleFile());
    select(2);
    deleteCurrent(true);
    EXPECT_EQ(state().selectedSegment, 1u);
    EXPECT_TRUE(state().textStripVisible);
    EXPECT_EQ(textLine(), "Hi");
}

TEST_F(EditorEdit, DeletingTheOnlyLineLeavesNothingSelectedAndTheViewsAsTheyWere)
{
    open(bytesFromHex("0A 00 02 00 | 02 AB 48 00 69 00 | 04 00 | 0A 00"));
    std::string panel = state().messagePanel;
    deleteCurrent(true);
    EXPECT_TRUE(lines().empty());
    EXPECT_FALSE(state().selectedSegment.has_value());
    EXPECT_TRUE(state().textStripVisible);
    EXPECT_EQ(textLine(), "Hi");
    EXPECT_EQ(state().messagePanel, panel);
    // Nothing is selected now: further commands do nothing.
    editor.deleteCurrentSegment();
    editor.forceUnicode();
    editor.applyTextLine();
    EXPECT_EQ(prompts.questions.size(), 1u);
}

// Force unicode ----------------------------------------------------------------------------

// A data segment 00 02 41 00 42 00 (data start 4, lead 4), then 05 06 07 and 08 09.
Bytes countedRunFile()
{
    return test::resourceFile({"00 02 41 00 42 00", "05 06 07", "08 09"});
}

TEST_F(EditorEdit, ForceUnicodeShowsTheSelectedRunAndCountsWhatIsTyped)
{
    open(countedRunFile());
    dragSelect({1, 7}, {1, 10});  // indexes 2 to 5
    editor.forceUnicode();
    EXPECT_TRUE(state().forceMode);
    EXPECT_TRUE(state().textStripVisible);
    EXPECT_EQ(state().textLineMaxLength, 0);
    EXPECT_EQ(textLine(), "AB");
    EXPECT_EQ(state().messagePanel, "Force unicode 2 char(s). Already entered 2 char(s)");
    EXPECT_EQ(state().selection, (GridSelection{1, 7, 1, 10}));
    editor.textLineEdited(u"ABC");
    EXPECT_EQ(state().messagePanel, "Force unicode 2 char(s). Already entered 3 char(s)");
}

TEST_F(EditorEdit, RefusedResizeLeavesEverythingAsItWas)
{
    open(countedRunFile());
    dragSelect({1, 7}, {1, 10});
    editor.forceUnicode();
    editor.textLineEdited(u"ABC");
    Document before = document();
    WindowState state = editor.state();
    prompts.answers = {false};
    editor.applyTextLine();

    EXPECT_EQ(questionTexts(), (std::vector<std::string>{ResizeQuestion}));
    EXPECT_EQ(hexOf(savedImage(document())), hexOf(savedImage(before)));
    EXPECT_EQ(lines(), test::linesOf(before));
    EXPECT_EQ(editor.state().selection, state.selection);
    EXPECT_TRUE(editor.state().forceMode);
    EXPECT_TRUE(editor.state().textStripVisible);
    EXPECT_EQ(textLine(), "ABC");
    EXPECT_EQ(editor.state().messagePanel, state.messagePanel);
    EXPECT_EQ(editor.state().selectedIndexLine, state.selectedIndexLine);

    // The person can try again.
    prompts.answers = {true, true};
    editor.applyTextLine();
    EXPECT_EQ(hexOf(segment(0).data), "00 03 41 00 42 00 43 00");
}

TEST_F(EditorEdit, ForceUnicodeOnABlockDoesNothing)
{
    open(test::workedExampleFile());
    select(1);
    WindowState state = editor.state();
    editor.forceUnicode();
    EXPECT_FALSE(editor.state().forceMode);
    EXPECT_EQ(editor.state().messagePanel, state.messagePanel);
    EXPECT_EQ(editor.state().textLine, state.textLine);
}

TEST_F(EditorEdit, GridPressEndsForceModeAndHidesTheStrip)
{
    open(test::resourceFile({"41 00 42 00", "05 06 07"}));
    editor.forceUnicode();
    editor.gridMousePress(MouseButton::Left, {1, 6});
    EXPECT_FALSE(editor.state().forceMode);
    EXPECT_FALSE(editor.state().textStripVisible);
}

// One selection, one typed line (or the shown one unchanged) and the answers to the questions:
// what Force unicode shows, what it asks and what it writes. Every field has an initializer, so
// that a case names only what it checks.
struct ForceCase {
    const char* name = "";
    std::vector<std::string> resources{};                 // one segment each
    std::optional<std::pair<GridCell, GridCell>> drag{};  // nothing: no cells marked
    std::u16string shown{};                               // the text line Force unicode fills
    std::optional<std::string> message{};
    std::optional<GridSelection> selection{};  // the run Force unicode marks
    bool apply = true;
    std::optional<std::u16string> typed{};  // nothing: the shown line is applied unchanged
    std::vector<bool> answers{};
    std::vector<std::string> questions{};
    std::string dataAfter{};  // of the first segment
    std::optional<std::string> firstLine{};
    bool fileUnchanged = false;  // the saved file is the one opened
};

std::ostream& operator<<(std::ostream& out, const ForceCase& c)
{
    return out << c.name;
}

const ForceCase ForceCases[] = {
    {.name = "YesToBothQuestionsResizesAndRecountsTheCountByte",
     .resources = {"00 02 41 00 42 00", "05 06 07", "08 09"},
     .drag = {{{1, 7}, {1, 10}}},
     .shown = u"AB",
     .typed = u"ABC",
     .answers = {true, true},
     .questions = {ResizeQuestion, HeaderQuestion},
     .dataAfter = "00 03 41 00 42 00 43 00",
     .firstLine = "001(0) ABC"},
    {.name = "NoToTheHeaderQuestionKeepsTheCountByte",
     .resources = {"00 02 41 00 42 00", "05 06 07", "08 09"},
     .drag = {{{1, 7}, {1, 10}}},
     .shown = u"AB",
     .typed = u"ABC",
     .answers = {true, false},
     .questions = {ResizeQuestion, HeaderQuestion},
     .dataAfter = "00 02 41 00 42 00 43 00"},
    {.name = "RunAtIndexZeroAsksNoHeaderQuestion",
     .resources = {"41 00 42 00", "05 06 07"},
     .drag = {{{1, 5}, {1, 8}}},  // indexes 0 to 3
     .shown = u"AB",
     .typed = u"ABC",
     .answers = {true, true},
     .questions = {ResizeQuestion},
     .dataAfter = "41 00 42 00 43 00"},
    {.name = "EmptyLineRemovesTheRunWithoutHeaderQuestion",
     .resources = {"00 02 41 00 42 00", "05 06 07", "08 09"},
     .drag = {{{1, 7}, {1, 10}}},
     .shown = u"AB",
     .typed = u"",
     .answers = {true, true},
     .questions = {ResizeQuestion},
     .dataAfter = "00 02",
     .firstLine = "001(0) "},
    {.name = "FiveByteSegmentWithoutSelectionLosesItsOddByte",
     .resources = {"41 00 42 00 43", "05 06 07"},
     .shown = u"AB",
     .message = "Force unicode 2 char(s). Already entered 2 char(s)",
     .selection = GridSelection{1, 5, 1, 9},
     .answers = {true},
     .questions = {ResizeQuestion},
     .dataAfter = "41 00 42 00"},
    {.name = "EvenSegmentEndingInColumn16UnchangedAsksNothing",
     .resources = {"41 00 42 00 43 00 44 00 45 00 46 00", "05 06 07"},
     .shown = u"ABCDEF",
     .selection = GridSelection{1, 5, 1, 16},
     .dataAfter = "41 00 42 00 43 00 44 00 45 00 46 00",
     .firstLine = "001(0) ABCDEF",
     .fileUnchanged = true},
    {.name = "SelectionFromAnOddIndexShowsThePairInFrontAndWritesFromTheIndex",
     .resources = {"41 00 42 00 43 00", "05 06 07"},
     .drag = {{{1, 6}, {1, 9}}},  // indexes 1 to 4
     .shown = u"AB",
     .typed = u"XY",
     .dataAfter = "41 58 00 59 00 00"},
    {.name = "TwoCellsAtAnOddIndexShowOneCharacter",
     .resources = {"41 00 42 00 43 00", "05 06 07"},
     .drag = {{{1, 6}, {1, 7}}},  // indexes 1 and 2
     .shown = u"A",
     .message = "Force unicode 1 char(s). Already entered 1 char(s)",
     .apply = false},
    {.name = "OneCellCountsAsNoSelection",
     .resources = {"41 00 42 00", "05 06 07"},
     .drag = {{{1, 6}, {1, 6}}},
     .shown = u"AB",
     .selection = GridSelection{1, 5, 1, 8},
     .apply = false},
    {.name = "CompletedApplyWithSameLengthStillShowsTheTextInTheLine",
     .resources = {"41 00 42 00", "05 06 07"},
     .shown = u"AB",
     .typed = u"XY",
     .dataAfter = "58 00 59 00",
     .firstLine = "001(0) XY"},
    {.name = "SelectionReachingLeadCellsIsClippedToTheData",
     .resources = {"41 00 42 00", "05 06 07"},
     .drag = {{{1, 1}, {1, 6}}},  // four lead cells, then indexes 0 and 1
     .shown = u"A",
     .message = "Force unicode 3 char(s). Already entered 1 char(s)",
     .typed = u"X",
     .dataAfter = "58 00 42 00"},
    {.name = "SelectionFromColumnZeroAndPastTheEndReadsOnlyTheData",
     .resources = {"41 00 42 00 43 00", "05 06 07"},
     .drag = {{{1, 0}, {1, 16}}},  // column 0 and the cells after the last byte (index 5: column 10)
     .shown = u"ABC",
     .dataAfter = "41 00 42 00 43 00"},
    {.name = "SelectionPastTheEndWritesFromItsFirstByte",
     .resources = {"41 00 42 00 43 00", "05 06 07"},
     .drag = {{{1, 7}, {1, 14}}},  // index 2 to cells after the last byte
     .shown = u"BC",
     .typed = u"BCD",
     .answers = {true},
     .questions = {ResizeQuestion},
     .dataAfter = "41 00 42 00 43 00 44 00"},
    {.name = "UnchangedRunWithUnitZeroKeepsItsBytes",
     .resources = {"41 00 00 00 42 00", "05 06 07"},
     .shown = u"A",
     .dataAfter = "41 00 00 00 42 00",
     .fileUnchanged = true},
    {.name = "TextTypedOverARunWithUnitZeroReplacesItWhole",
     .resources = {"41 00 00 00 42 00", "05 06 07"},
     .shown = u"A",
     .typed = u"X",
     .answers = {true},
     .questions = {ResizeQuestion},
     .dataAfter = "58 00"},
    {.name = "UnchangedRunOfCharactersTheCodePageLacksKeepsItsBytes",
     .resources = {"05 06 07 08", "09 0A"},
     .shown = u"\u0605\u0807",
     .dataAfter = "05 06 07 08"},
};

class EditorForce : public test::EditorFixture, public ::testing::WithParamInterface<ForceCase> {};

// Compares only what a case expects.
template <typename Expected, typename Actual>
void expectWhenGiven(const std::optional<Expected>& expected, const Actual& actual, const char* what)
{
    if (expected) {
        EXPECT_EQ(actual, *expected) << what;
    }
}

TEST_P(EditorForce, ShowsAsksAndWritesTheRun)
{
    const ForceCase& c = GetParam();
    Bytes file = test::resourceFile(c.resources);
    open(file);
    if (c.drag) dragSelect(c.drag->first, c.drag->second);
    editor.forceUnicode();
    EXPECT_TRUE(state().forceMode);
    EXPECT_EQ(state().textLine, c.shown);
    expectWhenGiven(c.message, state().messagePanel, "message");
    expectWhenGiven(c.selection, state().selection, "selection");
    if (!c.apply) return;

    if (c.typed) editor.textLineEdited(*c.typed);
    prompts.answers.assign(c.answers.begin(), c.answers.end());
    editor.applyTextLine();
    EXPECT_EQ(questionTexts(), c.questions);
    for (const auto& asked : prompts.questions) {
        bool resize = asked.text == ResizeQuestion;
        EXPECT_EQ(asked.kind, resize ? MessageKind::Warning : MessageKind::Confirmation);
        EXPECT_EQ(asked.caption, resize ? "Warning" : "Confirm");
    }
    EXPECT_FALSE(state().forceMode);
    EXPECT_FALSE(state().textStripVisible);
    EXPECT_EQ(state().selection, GridSelection{});
    EXPECT_EQ(hexOf(segment(0).data), c.dataAfter);
    expectWhenGiven(c.firstLine, line(0), "first line");
    if (c.fileUnchanged) {
        EXPECT_EQ(hexOf(save()), hexOf(file));
    }
}

INSTANTIATE_TEST_SUITE_P(Variants, EditorForce, ::testing::ValuesIn(ForceCases),
                         [](const ::testing::TestParamInfo<ForceCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillet
