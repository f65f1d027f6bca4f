// Saving over one name of a file that has others gives that name a new file: the editor asks
// first, and the other names keep the old content.
#include <gtest/gtest.h>

#include <unistd.h>

#include "model/save_target.h"
#include "support/editor_fixture.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

class EditorLinkedFile : public test::EditorFixture {
protected:
    test::ScratchFolder folder;
    std::string first = folder / "h1.bin";
    std::string second = folder / "h2.bin";
    const Bytes original = test::bytesFromHex("5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A | 11 22 33 44");

    void SetUp() override
    {
        test::writeFileBytes(first, original);
        ASSERT_EQ(::link(first.c_str(), second.c_str()), 0);
        ASSERT_TRUE(editor.loadFile(first));
        ASSERT_TRUE(document().noIndex);
    }
    void typeFirstByte(const std::string& hex)
    {
        editor.setCurrentCell({1, 1});
        editor.gridTypeCharacter(hex.substr(0, 1));
        editor.gridTypeCharacter(hex.substr(1, 1));
    }
    // Saves over h1.bin, answering "replace it?" with yes and then the given answers.
    bool saveOverFirst(std::initializer_list<bool> thenAnswers)
    {
        prompts.saveNames.push_back(first);
        prompts.answers.push_back(true);
        prompts.answers.insert(prompts.answers.end(), thenAnswers);
        return editor.saveFileAs();
    }
};

TEST_F(EditorLinkedFile, IsSavedOnlyAfterAskingAndItsOtherNameKeepsTheOldContent)
{
    typeFirstByte("99");
    EXPECT_FALSE(saveOverFirst({false}));
    EXPECT_EQ(questionTexts().back(), "h1.bin has 2 names: saving gives this name a new file, the others keep the old "
                                      "content. Save anyway?");
    EXPECT_EQ(test::readFileBytes(first), original);
    EXPECT_TRUE(editor.isModified());

    EXPECT_TRUE(saveOverFirst({true}));
    Bytes edited = original;
    edited[0] = 0x99;
    EXPECT_EQ(test::readFileBytes(first), edited);
    EXPECT_EQ(test::readFileBytes(second), original);
    EXPECT_FALSE(editor.isModified());
    EXPECT_EQ(questionTexts().size(), 4u);

    // The name now has a file of its own: the next save asks only "replace it?".
    typeFirstByte("77");
    EXPECT_TRUE(saveOverFirst({}));
    EXPECT_EQ(questionTexts().size(), 5u);
    EXPECT_EQ(namesOfSaveTarget(second), 1u);
}

TEST_F(EditorLinkedFile, SaveAsAnotherNameOfTheFileAsksToo)
{
    typeFirstByte("99");
    prompts.saveNames.push_back(second);
    prompts.answers = {true, false};
    EXPECT_FALSE(editor.saveFileAs());
    EXPECT_EQ(questionTexts().back(), "h2.bin has 2 names: saving gives this name a new file, the others keep the old "
                                      "content. Save anyway?");
    EXPECT_EQ(test::readFileBytes(second), original);
}

}  // namespace
}  // namespace quillet
