// The window's Export texts and Import texts: a translators' file written and read back as one
// change.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/editor_fixture.h"
#include "support/resource_builder.h"

namespace quillet {
namespace {

std::string textOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class EditorTexts : public test::EditorFixture {
protected:
    void SetUp() override { open(test::workedExampleFile(), "worked.rsc"); }
    std::string exported(const std::string& name)
    {
        std::string path = test::tempPath(name);
        std::filesystem::remove(path);
        prompts.textsNames.push_back(path);
        editor.exportTexts();
        return textOf(path);
    }
    void import(const std::string& name, const std::string& text)
    {
        std::string path = test::tempPath(name);
        std::ofstream(path, std::ios::binary) << text;
        prompts.textsNames.push_back(path);
        editor.importTexts();
    }
};

TEST_F(EditorTexts, ExportWritesPoOrTabFormatByTheNamesExtension)
{
    std::string po = exported("worked.po");
    EXPECT_NE(po.find("#: worked.rsc:2\nmsgid \"Hi\"\nmsgstr \"\""), std::string::npos) << po;
    EXPECT_EQ(state().messagePanel, "Texts exported to worked.po.") << "an export says what it did";
    EXPECT_EQ(exported("worked.txt"), "2\tHi\tHi\n");
}

// The dialogs offer PO first, as translation tools read it.
TEST_F(EditorTexts, ANameTypedWithoutAnExtensionTakesTheOneOfTheKindChosen)
{
    struct Case {
        std::optional<std::size_t> kind;  // nothing: all files
        std::string extension;
        std::string text;
    };
    const std::vector<Case> cases = {
        {0, ".po", "# Texts of"}, {1, ".txt", "2\tHi\tHi\n"}, {std::nullopt, ".txt", "2\tHi\tHi\n"}};
    std::string typed = test::tempPath("typed");
    for (const Case& c : cases) {
        prompts.textsKindChosen = c.kind;
        prompts.textsNames.push_back(typed);
        editor.exportTexts();
        EXPECT_EQ(textOf(typed + c.extension).substr(0, c.text.size()), c.text);
        EXPECT_FALSE(std::filesystem::exists(typed));
        std::filesystem::remove(typed + c.extension);
    }
    ASSERT_EQ(prompts.textsKindsOffered.size(), cases.size());
    const std::vector<FileKind>& kinds = prompts.textsKindsOffered[0];
    ASSERT_EQ(kinds.size(), 2u);
    EXPECT_EQ(kinds[0].description, "gettext PO files");
    EXPECT_EQ(kinds[0].extensions, (std::vector<std::string>{".po", ".pot"}));
    EXPECT_EQ(kinds[1].description, "Tab-separated texts");
    EXPECT_EQ(kinds[1].extensions, (std::vector<std::string>{".txt", ".tsv"}));
}

TEST_F(EditorTexts, ImportIsOneChangeThatUndoTakesBackAndSaysWhatItDid)
{
    std::string po = exported("translated.po");
    std::size_t msgstr = po.find("msgstr \"\"", po.find("msgid \"Hi\""));
    po.replace(msgstr, 9, "msgstr \"Hallo\"");
    import("translated.po", po + "\nmsgid \"Gone\"\nmsgstr \"Weg\"\n");
    EXPECT_EQ(line(1), "002(1) Hallo");
    EXPECT_EQ(editor.state().messagePanel, "translated.po: 1 applied, 0 untranslated, 0 fuzzy, 1 not found");
    EXPECT_EQ(document().indexTable, (IndexEntries{4, 7, 19}));
    EXPECT_TRUE(editor.isModified());
    editor.undo();
    EXPECT_EQ(line(1), "002(1) Hi");
    EXPECT_FALSE(editor.isModified());
}

TEST_F(EditorTexts, ABadFileIsReportedWithItsLineAndChangesNothing)
{
    import("bad.txt", "2\tHey\n9\tNo\n");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(prompts.messages[0].text.rfind("bad.txt:2: ", 0), 0u) << prompts.messages[0].text;
    EXPECT_EQ(line(1), "002(1) Hi");
    EXPECT_FALSE(editor.canUndo());
}

TEST_F(EditorTexts, ATabFileOfAnotherVersionIsRefusedAndChangesNothing)
{
    import("other.txt", "2\tHo\tHallo\n");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text,
              "other.txt:1: the source text is not the current text of segment 2 (\"Hi\"): the file was made for "
              "another version of the resource file\nNothing was changed.");
    EXPECT_EQ(line(1), "002(1) Hi");
    EXPECT_FALSE(editor.canUndo());
    import("old.txt", "2\tHallo\n");
    EXPECT_EQ(line(1), "002(1) Hallo");
    EXPECT_EQ(editor.state().messagePanel, "old.txt: 1 applied, 1 unchecked");
    // A refusal leaves no earlier import's counts in the status bar.
    import("other.txt", "2\tHi\tHey\n");
    EXPECT_EQ(line(1), "002(1) Hallo");
    EXPECT_EQ(editor.state().messagePanel, "");
}

TEST_F(EditorTexts, ExportAsksBeforeReplacingAFile)
{
    std::string path = test::writeTempFile(test::bytesFromHex("41"), "kept.txt");
    prompts.textsNames.push_back(path);
    prompts.answers = {false};
    editor.exportTexts();
    EXPECT_EQ(textOf(path), "A");
    ASSERT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(prompts.questions[0].text, "kept.txt already exists.\nDo you want to replace it?");
}

}  // namespace
}  // namespace quillet
