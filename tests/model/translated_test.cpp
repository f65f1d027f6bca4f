#include "model/translated.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "model/file_io.h"
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

TEST(TranslatedPlural, IsEnglishWithTheCountUntilTheWindowTurnsTranslationsOn)
{
    EXPECT_EQ(translatedPlural("%n unit", "%n units", 1), "1 unit");
    EXPECT_EQ(translatedPlural("%n unit", "%n units", 12), "12 units");
}

// The window's catalogues are compiled into the build folder's "locale".
bool germanCatalogueBuilt()
{
    return std::filesystem::exists(QUILLET_LOCALE_BUILD_DIR "/de/LC_MESSAGES/quillet.mo");
}

TEST(TranslatedMessages, AreGermanUnderAGermanLocaleOnceTurnedOn)
{
    if (!germanCatalogueBuilt()) GTEST_SKIP() << "built without the window's translations";
    test::GermanMessages german;
    if (!german.available()) GTEST_SKIP() << "no German locale and no localedef to make one";
    translateMessagesFrom(QUILLET_LOCALE_BUILD_DIR);

    EXPECT_EQ(ioErrorText(ENOSPC), "Datenträger voll");
    EXPECT_EQ(filled(translated("Segment %1 is not a unicode block. Nothing was changed."), {"4"}),
              "Segment 4 ist kein Unicode-Block. Es wurde nichts geändert.");
}

TEST(TranslatedMessages, TakeTheGermanPluralFormOfTheCount)
{
    if (!germanCatalogueBuilt()) GTEST_SKIP() << "built without the window's translations";
    test::GermanMessages german;
    if (!german.available()) GTEST_SKIP() << "no German locale and no localedef to make one";
    translateMessagesFrom(QUILLET_LOCALE_BUILD_DIR);

    const char* singular = "the text has %n UTF-16 unit, a unicode block holds at most %1";
    const char* plural = "the text has %n UTF-16 units, a unicode block holds at most %1";
    EXPECT_EQ(translatedPlural(singular, plural, 1),
              "der Text hat 1 UTF-16-Einheit, ein Unicode-Block fasst höchstens %1");
    EXPECT_EQ(translatedPlural(singular, plural, 256),
              "der Text hat 256 UTF-16-Einheiten, ein Unicode-Block fasst höchstens %1");
}

}  // namespace
}  // namespace quillet
