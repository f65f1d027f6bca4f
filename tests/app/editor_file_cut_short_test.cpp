// A raw file is held as a mapping of the file on disk; when another program cuts it short, the
// editor says so once, after the command that read the lost bytes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <unistd.h>

#include "support/editor_fixture.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

const std::size_t PageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));

class EditorFileCutShort : public test::EditorFixture {
protected:
    test::ScratchFolder folder;
    std::string path = folder / "big.bin";
    Bytes original;

    // Opens a raw file of many pages ending in 11 22 33 44.
    void openRawFile()
    {
        original.assign(64 * PageSize, 0x5A);
        Bytes end = test::bytesFromHex("11 22 33 44");
        std::copy(end.begin(), end.end(), original.end() - 4);
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(original.data()), static_cast<std::streamsize>(original.size()));
        ASSERT_TRUE(editor.loadFile(path));
        ASSERT_TRUE(document().noIndex);
    }
    void cutShort(std::size_t length) { ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(length)), 0); }
    void find(const std::string& hex)
    {
        prompts.findDialogs.push_back({FindFields{test::u16(hex), PatternMode::HexData}, true});
        editor.find();
    }
    std::vector<std::string> warnings() const
    {
        std::vector<std::string> texts;
        for (const auto& message : prompts.messages)
            if (message.kind == MessageKind::Warning) texts.push_back(message.text);
        return texts;
    }
};

const std::string CutShortWarning =
    "big.bin changed on disk while it was open: another program cut it short. The bytes past its new end could not "
    "be read and show as 00. Save under a new name to keep the rest.";

TEST_F(EditorFileCutShort, FindOverTheLostBytesWarnsOnceAndFindsNothingThere)
{
    openRawFile();
    find("11223344");
    EXPECT_EQ(state().selection, (GridSelection{static_cast<std::int64_t>(original.size() / 16), 13,
                                                static_cast<std::int64_t>(original.size() / 16), 13}));
    EXPECT_TRUE(warnings().empty());

    cutShort(PageSize);
    find("11223344");
    EXPECT_EQ(warnings(), std::vector<std::string>{CutShortWarning});
    find("5A5A");
    editor.findNext();
    editor.showSelectedSegment();
    EXPECT_EQ(warnings().size(), 1u);
}

TEST_F(EditorFileCutShort, ReplaceAndSaveTellItAndTheSaveKeepsTheRest)
{
    openRawFile();
    cutShort(2 * PageSize);
    prompts.replaceDialogs.push_back(
        {ReplaceFields{test::u16("11223344"), test::u16("55667788"), PatternMode::HexData, ReplaceStart::Begin}, true});
    editor.replace();
    EXPECT_EQ(lastMessage(), CutShortWarning);

    openRawFile();  // a document opened afresh is told again
    cutShort(2 * PageSize);
    Bytes saved = save();
    EXPECT_EQ(warnings(), (std::vector<std::string>{CutShortWarning, CutShortWarning}));
    Bytes expected(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(2 * PageSize));
    expected.resize(original.size(), 0);
    EXPECT_EQ(saved, expected);
}

TEST_F(EditorFileCutShort, AnEditThatCopiesTheLostBytesIsToldAfterwards)
{
    openRawFile();
    cutShort(PageSize);
    // A changed length gives the segment bytes of its own, read from the whole mapping.
    editor.forceUnicode();
    prompts.answers.push_back(true);  // resize the run
    editor.textLineEdited(test::u16("A"));
    editor.applyTextLine();
    ASSERT_FALSE(segment(0).data.isMapped());
    EXPECT_EQ(warnings(), std::vector<std::string>{CutShortWarning});
}

TEST_F(EditorFileCutShort, AFileLeftWholeIsNeverTold)
{
    openRawFile();
    find("11223344");
    prompts.replaceDialogs.push_back(
        {ReplaceFields{test::u16("5A5A"), test::u16("5B5B"), PatternMode::HexData, ReplaceStart::Begin}, true});
    editor.replace();
    save();
    EXPECT_TRUE(warnings().empty());
}

}  // namespace
}  // namespace quillet
