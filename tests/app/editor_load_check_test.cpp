// The Editor asks before an edit whose saved file would load back otherwise than shown, and offers
// the honest view: the segments read again from the bytes.
#include <gtest/gtest.h>

#include "model/loader.h"
#include "model/saver.h"
#include "support/editor_fixture.h"
#include "support/resource_builder.h"

namespace quillet {
namespace {

class EditorLoadCheck : public test::EditorFixture {
protected:
    // Forces the run of data segment 0 (bytes 1 and 2 of "02 41 00 42 00 | 33") to `text`.
    void forceRun(const std::string& text, bool answer)
    {
        open(test::resourceFile({"02 41 00 42 00 | 33"}));
        select(0);
        dragSelect({1, 6}, {1, 7});
        editor.forceUnicode();
        editor.textLineEdited(test::u16(text));
        prompts.answers = {answer};
        editor.applyTextLine();
    }
};

TEST_F(EditorLoadCheck, AForcedCharacterThatMakesAMarkerIsNamedBeforeItApplies)
{
    forceRun("\xC2\xAB", false);  // «
    ASSERT_EQ(questionTexts(),
              (std::vector<std::string>{"The character \xC2\xAB (U+00AB) writes the byte 0xAB at 0x0005, which will be "
                                        "read as the start of a text when the file is opened again, so segment 1 "
                                        "will load differently. Apply anyway?"}));
    EXPECT_EQ(test::hexOf(bytesOf(0)), "02 41 00 42 00 33");
    EXPECT_FALSE(editor.isModified());
}

TEST_F(EditorLoadCheck, AnEditAppliedAnywayIsOneChangeThatUndoTakesBack)
{
    forceRun("\xE3\x82\xAB", true);  // カ
    EXPECT_EQ(test::hexOf(bytesOf(0)), "02 AB 30 42 00 33");
    editor.undo();
    EXPECT_EQ(test::hexOf(bytesOf(0)), "02 41 00 42 00 33");
}

TEST_F(EditorLoadCheck, ReadingSegmentsAgainShowsWhatTheFileLoadsAs)
{
    forceRun("\xC2\xAB", true);
    std::vector<std::string> shown = lines();
    editor.readSegmentsAgain();
    EXPECT_EQ(lines(), test::linesOf(parseResource(savedImage(document()))));
    EXPECT_NE(lines(), shown);
    editor.undo();
    EXPECT_EQ(lines(), shown);
}

TEST_F(EditorLoadCheck, ReadingSegmentsAgainChangesNothingWhenTheyAlreadyLoadAsShown)
{
    open(test::workedExampleFile());
    editor.readSegmentsAgain();
    EXPECT_EQ(lastMessage(), "The segments are already those the file loads as. Nothing was changed.");
    EXPECT_FALSE(editor.canUndo());
}

TEST_F(EditorLoadCheck, AMarkerByteTypedIntoDataIsSaidBeforeItStays)
{
    open(test::bytesFromHex("13 00 02 00 | 04 41 00 42 00 43 00 44 00 45 00 46 00 47 00 | 04 00 | 13 00"));
    select(0);
    prompts.answers = {false};
    editor.storeTypedByte("AB", {1, 6});
    EXPECT_EQ(questionTexts().size(), 1u);
    EXPECT_EQ(test::hexOf(bytesOf(0)).substr(0, 5), "04 41");
}

}  // namespace
}  // namespace quillet
