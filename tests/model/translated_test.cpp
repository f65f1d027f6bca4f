#include "model/translated.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "model/file_io.h"
#include "model/utf16_text.h"
#include "support/german_locale.h"

namespace quillet {
namespace {

TEST(Filled, PutsTheValuesWhereTheirNumbersStandInAnyOrder)
{
    EXPECT_EQ(filled("segment %2 at %1, again %2", {"0x0010", "7"}), "segment 7 at 0x0010, again 7");
}

TEST(Filled, LeavesAPlaceholderInAValueAndOneWithoutAValueAsTheyAre)
{
    EXPECT_EQ(filled("%1 and %2", {"50%2 off"}), "50%2 off and %2");
    EXPECT_EQ(filled("100% sure, %", {}), "100% sure, %");
}

TEST(TranslatedPlural, IsEnglishWithTheCountWhileTranslationsAreOff)
{
    EXPECT_EQ(translatedPlural("%n unit", "%n units", 1), "1 unit");
    EXPECT_EQ(translatedPlural("%n unit", "%n units", 12), "12 units");
}

// The window's catalogues are compiled into the build folder's "locale".
bool germanCatalogueBuilt()
{
    return std::filesystem::exists(QUILLET_LOCALE_BUILD_DIR "/de/LC_MESSAGES/quillet.mo");
}

// German messages for the test's lifetime; English again after it, for the tests that follow.
class TranslatedMessages : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!germanCatalogueBuilt()) GTEST_SKIP() << "built without the window's translations";
        if (!german.available()) GTEST_SKIP() << "no German locale and no localedef to make one";
        translateMessagesFrom(QUILLET_LOCALE_BUILD_DIR);
    }
    void TearDown() override { keepMessagesEnglish(); }

    test::GermanMessages german;
};

TEST_F(TranslatedMessages, AreGermanUnderAGermanLocaleOnceTurnedOn)
{
    EXPECT_EQ(ioErrorText(ENOSPC), "Datenträger voll");
    Result<std::u16string> units = unitsFromEscapedUtf8("Hallo\\q");
    ASSERT_FALSE(units.ok());
    EXPECT_EQ(units.failure().reason, "unbekannte Escape-Sequenz \\q");

    keepMessagesEnglish();
    EXPECT_EQ(ioErrorText(ENOSPC), "Disk full");
}

TEST_F(TranslatedMessages, TakeTheGermanPluralFormOfTheCount)
{
    const char* singular = "the text has %n UTF-16 unit, a unicode block holds at most %1";
    const char* plural = "the text has %n UTF-16 units, a unicode block holds at most %1";
    EXPECT_EQ(translatedPlural(singular, plural, 1),
              "der Text hat 1 UTF-16-Einheit, ein Unicode-Block fasst höchstens %1");
    EXPECT_EQ(translatedPlural(singular, plural, 256),
              "der Text hat 256 UTF-16-Einheiten, ein Unicode-Block fasst höchstens %1");
}

}  // namespace
}  // namespace quillet
