// Running out of memory while loading or editing: an error or a warning, and the document stays
// as it was. The allocations that fail are the large ones a command makes: the loader's tables,
// the index fix-up of a file with many entries, replace's list of places, the undo history.
#include <gtest/gtest.h>

#include "model/saver.h"
#include "support/editor_fixture.h"
#include "support/failing_allocations.h"
#include "support/resource_builder.h"

namespace quillet {
namespace {

using test::FailingAllocations;

// Far above what a command on a small document asks for at once, far below what these ask for.
constexpr std::size_t LargeAllocation = 64 * 1024;

const char* const NoMemoryForChange = "There is not enough memory for this change. Nothing was changed.";

// Data 01 02 03 04, the block "Hi" and data 05 06 07, with ten thousand entries at the last
// segment: a change of length in front of it moves every one of them.
Bytes fileWithManyEntries()
{
    Bytes body = test::bytesFromHex("01 02 03 04 | 02 AB 48 00 69 00 | 05 06 07");
    auto indexOffset = static_cast<std::uint16_t>(4 + body.size());
    Bytes file;
    test::putWord(file, indexOffset);
    test::putWord(file, 2);
    file.insert(file.end(), body.begin(), body.end());
    test::putWord(file, 4);
    test::putWord(file, 8);
    for (int k = 0; k < 10000; ++k) test::putWord(file, 14);
    test::putWord(file, indexOffset);
    return file;
}

class EditorMemory : public test::EditorFixture {
protected:
    void SetUp() override
    {
        if (!FailingAllocations::available()) GTEST_SKIP() << "operator new cannot be replaced under AddressSanitizer";
    }

    // What the window shows and would save, to compare before and after.
    struct Shown {
        std::string image;
        std::vector<std::string> lines;
        std::optional<std::size_t> selected;
        std::string fileName;
    };
    Shown shown() const
    {
        return {test::hexOf(savedImage(document())), lines(), state().selectedSegment, state().fileNamePanel};
    }
    void expectShown(const Shown& before) const
    {
        Shown now = shown();
        EXPECT_EQ(now.image, before.image);
        EXPECT_EQ(now.lines, before.lines);
        EXPECT_EQ(now.selected, before.selected);
        EXPECT_EQ(now.fileName, before.fileName);
    }

    void expectOneWarning(const std::string& text)
    {
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].kind, MessageKind::Warning);
        EXPECT_EQ(prompts.messages[0].text, text);
    }
};

TEST_F(EditorMemory, LoadThatRunsOutOfMemoryKeepsTheOpenDocumentAndSaysSo)
{
    std::string path = open(test::workedExampleFile());
    select(1);
    const Shown before = shown();
    // A body of sixty thousand bytes: reading it makes tables larger than memory has left.
    std::string large = test::writeTempFile(test::resourceFile({test::repeatedHex("41", 60000)}), "large.rsc");
    {
        FailingAllocations failing(LargeAllocation);
        EXPECT_FALSE(editor.loadFile(large));
        EXPECT_GT(failing.failures(), 0);
    }
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(prompts.messages[0].text, large + ": not enough memory to open it. The document on screen is kept.");
    expectShown(before);
    EXPECT_EQ(textLine(), "Hi");
    EXPECT_FALSE(editor.isModified());

    // With memory back, the same file opens.
    EXPECT_TRUE(editor.loadFile(large));
    EXPECT_EQ(state().fileNamePanel, large);
}

TEST_F(EditorMemory, UnicodeApplyThatRunsOutOfMemoryChangesNothing)
{
    open(fileWithManyEntries());
    select(1);
    editor.textLineEdited(test::u16("Hey"));
    const Shown before = shown();
    {
        FailingAllocations failing(LargeAllocation);
        editor.applyTextLine();
        EXPECT_GT(failing.failures(), 0);
    }
    expectOneWarning(NoMemoryForChange);
    expectShown(before);
    EXPECT_FALSE(editor.canUndo());

    editor.applyTextLine();
    EXPECT_EQ(line(1), "002(1) Hey");
    EXPECT_EQ(document().indexTable[2], 16);
}

TEST_F(EditorMemory, ForceApplyThatRunsOutOfMemoryChangesNothing)
{
    open(fileWithManyEntries());
    select(0);
    editor.forceUnicode();
    editor.textLineEdited(test::u16("ABC"));  // three characters for the run of two: a resize
    const Shown before = shown();
    {
        FailingAllocations failing(LargeAllocation);
        prompts.answers = {true, true};
        editor.applyTextLine();
        EXPECT_GT(failing.failures(), 0);
    }
    expectOneWarning(NoMemoryForChange);
    expectShown(before);
    EXPECT_FALSE(editor.canUndo());
}

TEST_F(EditorMemory, ReplaceThatRunsOutOfMemoryChangesNothing)
{
    open(test::resourceFile({test::repeatedHex("41", 20000)}));
    const Shown before = shown();
    {
        FailingAllocations failing(LargeAllocation);
        prompts.replaceDialogs.push_back(
            {ReplaceFields{u"41", u"42", PatternMode::HexData, ReplaceStart::Begin}, true});
        editor.replace();
        EXPECT_GT(failing.failures(), 0);
    }
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].kind, MessageKind::Warning);
    EXPECT_NE(prompts.messages[0].text.find("Nothing was changed."), std::string::npos);
    expectShown(before);
    EXPECT_FALSE(editor.canUndo());
}

// The history grows now and then by a large step; when that step fails, the change it was to
// hold is taken back, so that the document never holds a change that undo does not know.
class EditorHistoryMemory : public EditorMemory {
protected:
    // Makes changes until the history has no room for one; that one must leave no trace.
    template <typename Edit>
    void editUntilTheHistoryIsFull(Edit&& edit)
    {
        open(test::workedExampleFile());
        for (int n = 0; n < 100000; ++n) {
            const Shown before = shown();
            const std::size_t done = editor.history().doneCount();
            // Only the history may grow: the script's own records are emptied each time.
            prompts.messages.clear();
            prompts.longWork.clear();
            int failures = 0;
            {
                FailingAllocations failing(LargeAllocation);
                edit(n);
                failures = failing.failures();
            }
            if (failures == 0) {
                ASSERT_EQ(editor.history().doneCount(), done + 1);
                continue;
            }
            expectOneWarning(NoMemoryForChange);
            expectShown(before);
            EXPECT_EQ(editor.history().doneCount(), done);
            // Undo goes back through the changes that were recorded, to the file as it was.
            while (editor.canUndo()) editor.undo();
            EXPECT_EQ(test::hexOf(savedImage(document())), test::hexOf(test::workedExampleFile()));
            return;
        }
        FAIL() << "the history never needed a large allocation";
    }
};

TEST_F(EditorHistoryMemory, ApplyThatTheHistoryHasNoRoomForIsTakenBack)
{
    editUntilTheHistoryIsFull([&](int n) { editor.applyTexts({{2, n % 2 == 0 ? u"Ho" : u"Hi"}}); });
}

TEST_F(EditorHistoryMemory, ReplaceThatTheHistoryHasNoRoomForIsTakenBack)
{
    editUntilTheHistoryIsFull([&](int n) {
        editor.replaceFields() = ReplaceFields{n % 2 == 0 ? u"48" : u"49", n % 2 == 0 ? u"49" : u"48"};
        editor.replaceAll(true);
    });
}

// An undo that runs out of memory part way through a change turns back the steps it had taken
// back: the document stays as the change left it, and the change can still be undone.
TEST_F(EditorMemory, AnUndoThatRunsOutOfMemoryLeavesTheChangeWhole)
{
    std::string longText = "FF AB " + test::repeatedHex("41 00", 255);
    open(test::resourceFile({longText, "02 AB 48 00 69 00", "05 06"}));
    ASSERT_TRUE(editor.applyTexts({{1, u"a"}, {2, u"b"}}));
    Shown applied = shown();
    {
        // Taking back the second block's text needs little; the first one's needs 510 bytes.
        FailingAllocations failing(256);
        editor.undo();
        EXPECT_GT(failing.failures(), 0);
    }
    expectShown(applied);
    EXPECT_EQ(lastMessage(), "There is not enough memory to undo. Nothing was changed.");
    editor.undo();
    EXPECT_EQ(line(0).substr(0, 8), "001(0) A");
    EXPECT_EQ(line(1), "002(1) Hi");
}

}  // namespace
}  // namespace quillet
