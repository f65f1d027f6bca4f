// Text typed in the text line and not applied: unsaved work that is never dropped without a
// question, undone before the document is, and never left to disagree with the block.
#include <gtest/gtest.h>

#include "app/editor.h"
#include "support/byte_strings.h"
#include "support/editor_fixture.h"
#include "support/resource_builder.h"

namespace quillet {
namespace {

class EditorTyping : public test::EditorFixture {
protected:
    // The worked example with its block "Hi" selected and "Hey" typed over it.
    void typeOverTheBlock()
    {
        open(test::workedExampleFile());
        select(1);
        editor.textLineEdited(u"Hey");
    }
    std::string asked() const { return prompts.typingAsked.empty() ? "" : prompts.typingAsked.back(); }
};

TEST_F(EditorTyping, TypingIsUnsavedWorkAndLeavingTheBlockAsksFirst)
{
    typeOverTheBlock();
    EXPECT_TRUE(editor.lineHoldsTyping());
    EXPECT_TRUE(editor.showsUnsavedWork()) << "the title shows a *";
    EXPECT_FALSE(editor.isModified());

    prompts.typingChoices = {TypingChoice::Cancel};
    select(2);
    EXPECT_EQ(asked(), "The text typed for block 002(1) was not applied.\nApply it now?");
    EXPECT_EQ(state().selectedSegment, 1u) << "Cancel stays";
    EXPECT_EQ(textLine(), "Hey");

    prompts.typingChoices = {TypingChoice::Apply};
    editor.nextSegment();
    EXPECT_EQ(state().selectedSegment, 2u);
    EXPECT_EQ(line(1), "002(1) Hey");

    select(1);
    editor.textLineEdited(u"Hello");
    prompts.typingChoices = {TypingChoice::Discard};
    editor.selectIndexLine(0);
    EXPECT_EQ(state().selectedSegment, 0u);
    EXPECT_EQ(line(1), "002(1) Hey");
    EXPECT_FALSE(editor.lineHoldsTyping());
    EXPECT_EQ(prompts.typingAsked.size(), 3u);
}

TEST_F(EditorTyping, ClosingOpeningAndSavingAskFirst)
{
    typeOverTheBlock();
    prompts.typingChoices = {TypingChoice::Cancel};
    EXPECT_FALSE(editor.confirmClose());
    EXPECT_TRUE(prompts.saveChangesAsked.empty());

    // Applied, the text makes the document modified, which is asked about next.
    prompts.typingChoices = {TypingChoice::Apply};
    prompts.saveChoices = {SaveChoice::Discard};
    EXPECT_TRUE(editor.confirmClose());
    EXPECT_EQ(line(1), "002(1) Hey");
    EXPECT_EQ(prompts.saveChangesAsked.size(), 1u);

    editor.textLineEdited(u"Hello");
    prompts.typingChoices = {TypingChoice::Cancel};
    std::string other = test::writeTempFile(test::workedExampleFile(), "other.rsc");
    EXPECT_FALSE(editor.loadFile(other));
    EXPECT_EQ(textLine(), "Hello");

    // What is saved is what the window shows.
    prompts.typingChoices = {TypingChoice::Apply};
    EXPECT_NE(test::hexOf(save()).find("48 00 65 00 6C 00 6C 00 6F 00"), std::string::npos);
    EXPECT_FALSE(editor.showsUnsavedWork());
}

// Undo takes back the line's own typing before it takes back the document; once the line holds
// no typing, undo and redo are the document's, and the line follows them.
TEST_F(EditorTyping, UndoTakesBackTheTypingFirstAndThenTheDocument)
{
    typeOverTheBlock();
    editor.applyTextLine();
    editor.textLineEdited(u"Hey!!");
    editor.undo();
    EXPECT_EQ(textLine(), "Hey");
    EXPECT_EQ(line(1), "002(1) Hey");
    EXPECT_FALSE(editor.lineHoldsTyping());
    editor.undo();
    EXPECT_EQ(line(1), "002(1) Hi");
    EXPECT_EQ(textLine(), "Hi");

    editor.textLineEdited(u"Ho");
    prompts.typingChoices = {TypingChoice::Cancel};
    editor.redo();
    EXPECT_EQ(line(1), "002(1) Hi") << "a redo that would drop the typing asks, and Cancel keeps it";
    prompts.typingChoices = {TypingChoice::Discard};
    editor.redo();
    EXPECT_EQ(line(1), "002(1) Hey");
    EXPECT_EQ(textLine(), "Hey");
}

// Every fill of the line by the program is counted, so that the window drops the line's own
// undo steps of a text that is gone.
TEST_F(EditorTyping, EveryFillOfTheLineIsCounted)
{
    typeOverTheBlock();
    std::uint64_t fills = state().textLineFills;
    editor.applyTextLine();
    EXPECT_GT(state().textLineFills, fills);
    fills = state().textLineFills;
    editor.undo();
    EXPECT_GT(state().textLineFills, fills);
    fills = state().textLineFills;
    editor.textLineEdited(u"Hello");
    EXPECT_EQ(state().textLineFills, fills) << "typing is no fill";
}

TEST_F(EditorTyping, TypingInTheGridAsksBeforeTheBlockChangesUnderTheLine)
{
    typeOverTheBlock();
    editor.gridMoveCurrent({1, 10});  // byte 0 of the block: data start 9
    prompts.typingChoices = {TypingChoice::Cancel};
    editor.gridTypeCharacter("4");
    EXPECT_FALSE(state().gridEditor.open);
    EXPECT_EQ(textLine(), "Hey");

    prompts.typingChoices = {TypingChoice::Discard};
    editor.gridTypeCharacter("4");
    editor.gridTypeCharacter("A");
    EXPECT_EQ(line(1), "002(1) Ji");
    EXPECT_EQ(textLine(), "Ji") << "the line shows the block as the grid changed it";
}

// A forced text is typed for the run that was selected: a move or a press in the grid, which
// would end force mode or change the run, settles it first.
TEST_F(EditorTyping, AGridMoveInForceModeSettlesTheTypedTextFirst)
{
    open(test::resourceFile({"41 00 42 00 43 00 44"}));
    dragSelect({1, 4}, {1, 7});
    editor.forceUnicode();
    ASSERT_TRUE(state().forceMode);
    GridSelection run = state().selection;
    GridCell current = state().current;
    editor.textLineEdited(u"xy");

    prompts.typingChoices = {TypingChoice::Cancel, TypingChoice::Cancel};
    editor.gridMoveCurrent({1, 12});
    editor.gridMousePress(MouseButton::Left, {1, 12});
    editor.gridMouseRelease(MouseButton::Left, {1, 14}, true);
    EXPECT_TRUE(state().forceMode);
    EXPECT_EQ(state().current, current);
    EXPECT_EQ(state().selection, run) << "the typed text still belongs to its run";

    prompts.typingChoices = {TypingChoice::Discard};
    editor.gridMoveCurrent({1, 12});
    EXPECT_FALSE(state().forceMode);
    EXPECT_EQ(state().current, (GridCell{1, 12}));
    EXPECT_FALSE(editor.isModified());
}

TEST_F(EditorTyping, APasteCutToTheLimitIsSaidWithTheCounter)
{
    open(test::workedExampleFile());
    select(1);
    editor.textLineEdited(std::u16string(127, u'x'), true);
    EXPECT_EQ(state().messagePanel,
              "The paste was cut to the line's limit of 127 characters. Already entered 127 char(s)");
    editor.textLineEdited(std::u16string(126, u'x'));
    EXPECT_EQ(state().messagePanel,
              "The paste was cut to the line's limit of 127 characters. Already entered 126 char(s)");
}

}  // namespace
}  // namespace quillet
