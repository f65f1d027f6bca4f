// Undo and redo, the modified flag, the guard for unsaved changes, "Save as" replacing a file,
// and long work that can be cancelled.
#include <gtest/gtest.h>

#include <filesystem>

#include "model/loader.h"
#include "model/saver.h"
#include "support/editor_fixture.h"
#include "support/resource_builder.h"
#include "views/grid_geometry.h"

namespace quillet {
namespace {

using test::bytesFromHex;
using test::hexOf;

// What undo must give back exactly: the saved bytes, both lists and the offsets.
struct Snapshot {
    std::string image;
    std::vector<std::string> segmentLines;
    std::vector<std::string> indexLines;
    std::vector<std::uint16_t> offsets;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshotOf(const Document& document)
{
    Snapshot snapshot{hexOf(savedImage(document)), test::linesOf(document), {}, {}};
    for (std::size_t k = 0; k < document.indexTable.size(); ++k) snapshot.indexLines.push_back(document.indexLine(k));
    for (const Segment& segment : document.segments) snapshot.offsets.push_back(segment.offset);
    return snapshot;
}

// A file without an index: its first and last words differ.
Bytes rawFile(std::size_t size, std::uint8_t fill)
{
    Bytes bytes(size, fill);
    bytes.back() = static_cast<std::uint8_t>(fill + 1);
    return bytes;
}

class EditorHistory : public test::EditorFixture {
protected:
    // Runs an edit, then checks that undo gives back the document before it and selects the
    // segment it touched, and that redo gives back the document after it.
    void checkUndoRedo(const char* what, std::size_t touched, const std::function<void()>& edit)
    {
        SCOPED_TRACE(what);
        Snapshot before = snapshotOf(document());
        edit();
        Snapshot after = snapshotOf(document());
        ASSERT_NE(after, before) << "the edit changed nothing";
        ASSERT_TRUE(editor.canUndo());
        EXPECT_TRUE(editor.isModified());
        editor.undo();
        EXPECT_EQ(snapshotOf(document()), before);
        EXPECT_EQ(state().selectedSegment, touched);
        EXPECT_FALSE(editor.isModified());
        EXPECT_TRUE(editor.canRedo());
        editor.redo();
        EXPECT_EQ(snapshotOf(document()), after);
        EXPECT_TRUE(editor.isModified());
        editor.undo();
    }
};

TEST_F(EditorHistory, EveryKindOfChangeIsUndoneAndRedoneExactly)
{
    open(test::resourceFile({"41 42 43 44", "02 AB 48 00 69 00", "41 41 41", "05"}));
    checkUndoRedo("typed byte", 2, [&] {
        select(2);
        editor.gridMoveCurrent(GridLayout::of(document(), segment(2)).cellOf(1));
        editor.gridTypeCharacter("7");
        editor.gridTypeCharacter("F");
    });
    checkUndoRedo("unicode apply", 1, [&] {
        select(1);
        apply("Hello there");
    });
    checkUndoRedo("force apply with both questions", 0, [&] {
        select(0);
        dragSelect({1, 5}, {1, 8});
        editor.forceUnicode();
        editor.textLineEdited(u"XYZ");
        prompts.answers = {true, true};
        editor.applyTextLine();
    });
    checkUndoRedo("deletion", 1, [&] {
        select(1);
        deleteCurrent(true);
    });
    checkUndoRedo("replace", 0, [&] {
        select(0);
        prompts.replaceDialogs.push_back(
            {ReplaceFields{u"41", u"5A", PatternMode::HexData, ReplaceStart::Begin}, true});
        editor.replace();
    });
    checkUndoRedo("texts import", 1, [&] { editor.applyTexts({{2, u"Hey"}}); });
}

TEST_F(EditorHistory, ARefusedQuestionRecordsNothing)
{
    open(test::resourceFile({"41 42 43 44", "05"}));
    editor.forceUnicode();
    editor.textLineEdited(u"A");
    prompts.answers = {false};
    editor.applyTextLine();
    deleteCurrent(false);
    EXPECT_FALSE(editor.canUndo());
    EXPECT_FALSE(editor.isModified());
}

TEST_F(EditorHistory, SavingMakesTheDocumentCleanAndUndoingPastTheSaveModifiesItAgain)
{
    open(test::workedExampleFile());
    select(1);
    apply("One");
    apply("Two");
    EXPECT_TRUE(editor.isModified());
    save();
    EXPECT_FALSE(editor.isModified());
    editor.undo();
    EXPECT_TRUE(editor.isModified());
    EXPECT_EQ(line(1), "002(1) One");
    editor.redo();
    EXPECT_FALSE(editor.isModified()) << "back at what was saved";
    // A new change after undoing past the save can never come back to the saved state.
    editor.undo();
    apply("Three");
    EXPECT_TRUE(editor.isModified());
    EXPECT_FALSE(editor.canRedo());
}

TEST_F(EditorHistory, AFailedSaveLeavesTheDocumentModified)
{
    open(test::workedExampleFile());
    select(1);
    apply("Hey");
    prompts.saveNames.push_back(test::tempPath("no-such-folder/out.rsc"));
    EXPECT_FALSE(editor.saveFileAs());
    EXPECT_TRUE(editor.isModified());
    EXPECT_EQ(prompts.messages.back().kind, MessageKind::Error);
}

TEST_F(EditorHistory, OpeningAFileClearsTheHistory)
{
    open(test::workedExampleFile());
    select(1);
    apply("Hey");
    open(test::workedExampleFile(), "other.rsc");
    EXPECT_FALSE(editor.canUndo());
    EXPECT_FALSE(editor.isModified());
}

// A typed byte costs a few bytes of history, not a copy of the segment.
TEST_F(EditorHistory, ATypedByteKeepsOnlyWhatChanged)
{
    open(rawFile(1 << 20, 0x11), "large.bin");
    editor.gridTypeCharacter("4");
    editor.gridTypeCharacter("1");
    ASSERT_TRUE(editor.canUndo());
    EXPECT_LT(editor.history().heldBytes(), 256u);
}

// The guard -------------------------------------------------------------------------------

TEST_F(EditorHistory, NothingIsAskedWhenNothingChanged)
{
    open(test::workedExampleFile());
    EXPECT_TRUE(editor.confirmClose());
    EXPECT_TRUE(prompts.saveChangesAsked.empty());
}

TEST_F(EditorHistory, CloseAsksAndGoesOnOnlyForDiscardOrASaveThatWorked)
{
    std::string path = open(test::workedExampleFile(), "guarded.rsc");
    select(1);
    apply("Hey");

    prompts.saveChoices = {SaveChoice::Cancel};
    EXPECT_FALSE(editor.confirmClose());
    EXPECT_EQ(prompts.saveChangesAsked, std::vector<std::string>{"Save changes to guarded.rsc?"});
    EXPECT_TRUE(editor.isModified());

    prompts.saveChoices = {SaveChoice::Save};
    prompts.saveNames = {std::nullopt};  // the save dialog cancelled
    EXPECT_FALSE(editor.confirmClose());

    prompts.saveChoices = {SaveChoice::Save};
    std::string saved = test::tempPath("guard-saved.rsc");
    prompts.saveNames = {saved};
    EXPECT_TRUE(editor.confirmClose());
    EXPECT_EQ(test::linesOf(parseResource(test::readFileBytes(saved)))[1], "002(1) Hey");

    apply("Again");
    prompts.saveChoices = {SaveChoice::Discard};
    EXPECT_TRUE(editor.confirmClose());
}

TEST_F(EditorHistory, OpeningAnotherFileAsksAndCancelKeepsEverything)
{
    open(test::workedExampleFile(), "first.rsc");
    select(1);
    apply("Hey");
    std::string other = test::writeTempFile(test::resourceFile({"01 02"}), "second.rsc");

    prompts.saveChoices = {SaveChoice::Cancel};
    EXPECT_FALSE(editor.loadFile(other));
    EXPECT_EQ(line(1), "002(1) Hey");
    EXPECT_TRUE(editor.canUndo());

    prompts.saveChoices = {SaveChoice::Discard};
    EXPECT_TRUE(editor.loadFile(other));
    EXPECT_EQ(lines(), std::vector<std::string>{"001(0) 0004:0005"});
    EXPECT_EQ(prompts.saveChangesAsked.size(), 2u);
}

TEST_F(EditorHistory, SaveAsAsksBeforeReplacingAFileAndNoReturnsToTheDialog)
{
    open(test::workedExampleFile(), "source.rsc");
    std::string existing = test::writeTempFile(bytesFromHex("AA BB"), "existing.rsc");
    std::string fresh = test::tempPath("fresh.rsc");
    std::filesystem::remove(fresh);
    prompts.saveNames = {existing, fresh};
    prompts.answers = {false};
    EXPECT_TRUE(editor.saveFileAs());
    ASSERT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(prompts.questions[0].text, "existing.rsc already exists.\nDo you want to replace it?");
    EXPECT_EQ(hexOf(test::readFileBytes(existing)), "AA BB");
    EXPECT_EQ(hexOf(test::readFileBytes(fresh)), hexOf(test::workedExampleFile()));
    // The dialog offered the open file's name first, then the name refused.
    EXPECT_EQ(prompts.saveSuggestions.size(), 2u);
    EXPECT_EQ(prompts.saveSuggestions[1], existing);

    prompts.saveNames = {existing};
    prompts.answers = {true};
    EXPECT_TRUE(editor.saveFileAs());
    EXPECT_EQ(hexOf(test::readFileBytes(existing)), hexOf(test::workedExampleFile()));
    // The next save offers the name the document was saved under.
    prompts.saveNames = {std::nullopt};
    editor.saveFileAs();
    EXPECT_EQ(prompts.saveSuggestions.back(), existing);
}

// Long work ------------------------------------------------------------------------------

TEST_F(EditorHistory, ACancelledLoadKeepsThePreviousDocument)
{
    open(test::workedExampleFile());
    // I = 4 and 24 MiB of entries: reading them reports progress, and the first report cancels.
    Bytes many(24 << 20, 0);
    many[0] = 4;
    many[many.size() - 2] = 4;
    std::string path = test::writeTempFile(many, "many-entries.rsc");
    prompts.cancelAtReport = 1;
    EXPECT_FALSE(editor.loadFile(path));
    EXPECT_EQ(document().segments.size(), 3u);
    EXPECT_TRUE(prompts.messages.empty());
    std::filesystem::remove(path);
}

TEST_F(EditorHistory, ACancelledSaveLeavesTheTargetUntouchedAndTheDocumentModified)
{
    open(rawFile(40 << 20, 0x33), "big.bin");
    editor.gridTypeCharacter("4");
    editor.gridTypeCharacter("1");
    std::string target = test::writeTempFile(bytesFromHex("01 02 03"), "kept.rsc");
    prompts.saveNames = {target};
    prompts.answers = {true};
    prompts.cancelAtReport = 1;
    EXPECT_FALSE(editor.saveFileAs());
    EXPECT_EQ(hexOf(test::readFileBytes(target)), "01 02 03");
    EXPECT_TRUE(editor.isModified());
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(target).parent_path()))
        EXPECT_EQ(entry.path().filename().string().find(".qlt-"), std::string::npos) << "temporary file left behind";
}

TEST_F(EditorHistory, ACancelledReplaceChangesNothingAndRecordsNothing)
{
    // A hit every 4 KiB: enough work for the first report, which cancels.
    Bytes file = rawFile(40 << 20, 0x00);
    for (std::size_t at = 0; at < file.size(); at += 4096) file[at] = 0x41;
    open(file, "replace.bin");
    Bytes before = bytesOf(0);
    prompts.cancelAtReport = 1;
    prompts.replaceDialogs.push_back({ReplaceFields{u"41", u"42", PatternMode::HexData, ReplaceStart::Begin}, true});
    editor.replace();
    EXPECT_TRUE(bytesOf(0) == before);
    EXPECT_FALSE(editor.canUndo());
    EXPECT_TRUE(prompts.messages.empty()) << "no count is reported for a cancelled replace";
}

// Force unicode on a huge segment shows what a text line can hold, and says so.
TEST_F(EditorHistory, ForceUnicodeOnAHugeSegmentTakesTheFirstCharactersALineHolds)
{
    open(rawFile(200000, 0x41), "huge.bin");
    editor.forceUnicode();
    EXPECT_EQ(state().textLine.size(), 32767u);
    EXPECT_EQ(state().messagePanel, "Force unicode 32767 of 100000 char(s). Already entered 32767 char(s)");
    // The apply works on the run shown: an unchanged line changes nothing and asks nothing.
    editor.applyTextLine();
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_TRUE(bytesOf(0) == rawFile(200000, 0x41));
    EXPECT_FALSE(editor.isModified());
}

}  // namespace
}  // namespace quillet
