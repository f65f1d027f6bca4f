#include <gtest/gtest.h>

#include <filesystem>

#include "model/translated.h"
#include "support/editor_fixture.h"
#include "support/german_locale.h"
#include "support/resource_builder.h"

namespace quillet {
namespace {

using test::resourceFile;

// The Editor under a German locale with the core's translations on, as the window runs it there.
class GermanEditor : public test::EditorFixture {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(QUILLET_LOCALE_BUILD_DIR "/de/LC_MESSAGES/quillet.mo"))
            GTEST_SKIP() << "built without the window's translations";
        if (!german.available()) GTEST_SKIP() << "no German locale and no localedef to make one";
        translateMessagesFrom(QUILLET_LOCALE_BUILD_DIR);
    }
    void TearDown() override { keepMessagesEnglish(); }

    void replace(const std::string& lookFor, const std::string& with)
    {
        prompts.replaceDialogs.push_back(
            {ReplaceFields{test::u16(lookFor), test::u16(with), PatternMode::HexData, ReplaceStart::Begin}, true});
        editor.replace();
    }

    test::GermanMessages german;
};

TEST_F(GermanEditor, TellsTheReplacesInTheGermanFormOfTheirCount)
{
    open(resourceFile({"41 41 41"}));
    replace("4141", "4241");
    EXPECT_EQ(prompts.messages.back().caption, "Information");
    EXPECT_EQ(lastMessage(), "2 Stellen ersetzt");
    replace("4241", "4141");
    EXPECT_EQ(lastMessage(), "1 Stelle ersetzt");
}

TEST_F(GermanEditor, AsksInGermanBeforeItDeletesASegment)
{
    open(resourceFile({"41 41", "42"}));
    deleteCurrent(false);
    ASSERT_FALSE(prompts.questions.empty());
    EXPECT_EQ(prompts.questions.back().caption, "Warnung");
    EXPECT_EQ(prompts.questions.back().text, "Die Datei kann beschädigt werden. Sind Sie sicher?");
}

}  // namespace
}  // namespace quillet
