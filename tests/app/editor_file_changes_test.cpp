// Another program changes the open file: the editor tells it at once, before a save and before
// each long job, and the person reloads or keeps editing. What the person typed stays; a save
// over the changed file asks first; the editor's own saves are no change.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "model/loader.h"
#include "support/editor_fixture.h"
#include "support/resource_builder.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

const std::size_t PageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));

class EditorFileChanges : public test::EditorFixture {
protected:
    test::ScratchFolder folder;
    std::string path = folder / "big.bin";
    Bytes original;

    // Opens a raw file of `size` bytes ending in 11 22 33 44.
    void openRawFile(std::size_t size = 64 * PageSize)
    {
        original.assign(size, 0x5A);
        Bytes end = test::bytesFromHex("11 22 33 44");
        std::copy(end.begin(), end.end(), original.end() - 4);
        test::writeFileBytes(path, original);
        ASSERT_TRUE(editor.loadFile(path));
        ASSERT_TRUE(document().noIndex);
    }
    // The person types a byte into the grid's cell of `index`.
    void typeByte(std::size_t index, const std::string& hex)
    {
        editor.setCurrentCell({static_cast<std::int64_t>(index / 16 + 1), static_cast<int>(index % 16 + 1)});
        editor.gridTypeCharacter(hex.substr(0, 1));
        editor.gridTypeCharacter(hex.substr(1, 1));
    }
    void cutShort(std::size_t length) { ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(length)), 0); }
    void find(const std::string& hex)
    {
        prompts.findDialogs.push_back({FindFields{test::u16(hex), PatternMode::HexData}, true});
        editor.find();
    }
    // Saves over the open file, answering "replace it?" and then `saveAnyway`.
    void saveOverOpenFile(bool saveAnyway)
    {
        prompts.saveNames.push_back(path);
        prompts.answers.push_back(true);
        prompts.answers.push_back(saveAnyway);
        editor.saveFileAs();
    }
    Bytes documentBytes() const { return bytesOf(0); }
};

const std::string RewrittenText =
    "big.bin was changed on disk by another program.\n\nThe bytes you have not edited now come from the changed file. "
    "The bytes you edited keep your values.\n\nReload the file as it is now (your edits are lost), or keep editing?";

TEST_F(EditorFileChanges, ATypedByteStaysOverAFileCopiedOverItAndIsSavedOnlyAfterAsking)
{
    openRawFile(12288);
    typeByte(0x10, "99");
    ASSERT_TRUE(editor.isModified());
    EXPECT_FALSE(editor.fileChangedOnDisk());
    Bytes other(12288, 0x44);
    test::writeFileBytes(path, other);  // as cp other.bin writes it
    EXPECT_TRUE(editor.fileChangedOnDisk());

    EXPECT_TRUE(editor.checkFileOnDisk());  // Keep editing
    EXPECT_EQ(prompts.reloadAsked, std::vector<std::string>{RewrittenText});
    Bytes expected = other;
    expected[0x10] = 0x99;
    EXPECT_EQ(documentBytes(), expected);
    EXPECT_FALSE(editor.fileChangedOnDisk()) << "told once";
    EXPECT_TRUE(editor.checkFileOnDisk());
    EXPECT_EQ(prompts.reloadAsked.size(), 1u);

    saveOverOpenFile(false);
    EXPECT_EQ(questionTexts().back(),
              "big.bin was changed on disk by another program since you opened it. Saving replaces it with the "
              "document as shown here.\nSave anyway?");
    EXPECT_EQ(test::readFileBytes(path), other);
    EXPECT_TRUE(editor.isModified());
    saveOverOpenFile(true);
    EXPECT_EQ(test::readFileBytes(path), expected);
    EXPECT_FALSE(editor.isModified());
    EXPECT_FALSE(editor.fileChangedOnDisk()) << "the editor's own save is no change";
    EXPECT_EQ(prompts.reloadAsked.size(), 1u);
}

TEST_F(EditorFileChanges, ReloadShowsTheFileAsItIsNowWithoutAskingToSave)
{
    openRawFile(12288);
    typeByte(0x10, "99");
    Bytes other(8192, 0x44);
    test::writeFileBytes(path, other);
    prompts.reloadAnswers.push_back(true);
    EXPECT_FALSE(editor.checkFileOnDisk());
    EXPECT_TRUE(prompts.saveChangesAsked.empty());
    EXPECT_FALSE(editor.isModified());
    EXPECT_FALSE(editor.canUndo());
    EXPECT_EQ(documentBytes(), other);
    EXPECT_FALSE(editor.fileChangedOnDisk());
}

TEST_F(EditorFileChanges, AFileCutShortBySomeBytesIsToldWithTheBytesThatReadAsZeros)
{
    openRawFile(10000);
    cutShort(9900);
    EXPECT_TRUE(editor.fileChangedOnDisk());
    editor.checkFileOnDisk();
    EXPECT_EQ(prompts.reloadAsked,
              std::vector<std::string>{"big.bin was changed on disk by another program.\n\nThe bytes you have not "
                                       "edited now come from the changed file, which is now 9900 bytes long: the 100 "
                                       "bytes past its end read as 00.\n\nReload the file as it is now, or keep "
                                       "editing?"});
    Bytes expected(original.begin(), original.begin() + 9900);
    expected.resize(10000, 0);
    EXPECT_EQ(documentBytes(), expected);
}

TEST_F(EditorFileChanges, FindReplaceAndSaveLookFirstAndWorkOnTheFileAsItIsNow)
{
    openRawFile();
    cutShort(PageSize);
    find("11223344");
    EXPECT_EQ(prompts.reloadAsked.size(), 1u);
    EXPECT_EQ(state().selection, GridSelection{}) << "the bytes past the new end are 00";
    find("5A5A");
    EXPECT_EQ(state().selection, (GridSelection{1, 1, 1, 1}));

    cutShort(PageSize / 2);
    prompts.replaceDialogs.push_back(
        {ReplaceFields{test::u16("5A5A"), test::u16("5B5B"), PatternMode::HexData, ReplaceStart::Begin}, true});
    editor.replace();
    EXPECT_EQ(prompts.reloadAsked.size(), 2u);
    EXPECT_EQ(lastMessage(), "Make " + std::to_string(PageSize / 4) + " replace(s)");

    cutShort(16);
    Bytes saved = save();
    EXPECT_EQ(prompts.reloadAsked.size(), 3u);
    Bytes expected(PageSize / 2, 0x5B);  // replaced, so edited: kept past the new end
    expected.resize(original.size(), 0);
    EXPECT_EQ(saved, expected);
}

TEST_F(EditorFileChanges, ADocumentHeldInMemoryStaysAsItWasOpened)
{
    Bytes file = test::workedExampleFile();
    test::writeFileBytes(path, file);
    ASSERT_TRUE(editor.loadFile(path));
    ASSERT_FALSE(document().noIndex);
    std::vector<std::string> before = lines();
    Bytes other = file;
    other[5] ^= 0xFF;
    test::writeFileBytes(path, other);
    editor.checkFileOnDisk();
    EXPECT_EQ(prompts.reloadAsked,
              std::vector<std::string>{"big.bin was changed on disk by another program.\n\nThe document still holds "
                                       "the file as it was when you opened it.\n\nReload the file as it is now, or "
                                       "keep editing?"});
    EXPECT_EQ(lines(), before);
}

TEST_F(EditorFileChanges, AFileRenamedOverIsToldAndARemovedOneOnceAndThenWhenItComesBack)
{
    openRawFile(12288);
    typeByte(0x10, "99");
    std::string newer = folder / "newer.bin";
    test::writeFileBytes(newer, Bytes(100, 0x44));
    ASSERT_EQ(::rename(newer.c_str(), path.c_str()), 0);  // as editors save
    editor.checkFileOnDisk();
    ASSERT_EQ(prompts.reloadAsked.size(), 1u);
    EXPECT_NE(prompts.reloadAsked[0].find("The document still holds the file as it was when you opened it, with your "
                                          "edits."),
              std::string::npos);
    EXPECT_EQ(documentBytes()[0x11], 0x5A) << "the mapped file itself was not written";

    ASSERT_EQ(::unlink(path.c_str()), 0);
    editor.checkFileOnDisk();
    editor.checkFileOnDisk();
    EXPECT_EQ(lastMessage(), "big.bin was removed from disk by another program. The document is kept as it is shown; "
                             "Save as writes it to a file again.");
    EXPECT_EQ(prompts.messages.size(), 1u);
    test::writeFileBytes(path, Bytes(100, 0x45));
    editor.checkFileOnDisk();
    EXPECT_EQ(prompts.reloadAsked.size(), 2u);
}

TEST_F(EditorFileChanges, AFileLeftAloneIsNeverTold)
{
    openRawFile();
    typeByte(0x20, "AB");
    find("11223344");
    prompts.replaceDialogs.push_back(
        {ReplaceFields{test::u16("5A5A"), test::u16("5B5B"), PatternMode::HexData, ReplaceStart::Begin}, true});
    editor.replace();
    save();
    saveOverOpenFile(true);
    editor.checkFileOnDisk();
    EXPECT_TRUE(prompts.reloadAsked.empty());
    EXPECT_EQ(questionTexts().size(), 1u) << "replace it? only";
}

}  // namespace
}  // namespace quillet
