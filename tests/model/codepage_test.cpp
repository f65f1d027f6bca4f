#include "model/codepage.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>

#include "support/scratch_folder.h"

namespace quillet {
namespace {

CodePage page(int number)
{
    std::optional<CodePage> codePage = CodePage::byName(std::to_string(number));
    EXPECT_TRUE(codePage.has_value()) << number;
    return *codePage;
}

TEST(CodePageNames, AcceptsNumberCpAndWindowsFormsInAnyCase)
{
    for (const char* name : {"1251", "CP1251", "cp1251", "Cp1251", "windows-1251", "WINDOWS-1251"}) {
        std::optional<CodePage> codePage = CodePage::byName(name);
        ASSERT_TRUE(codePage.has_value()) << name;
        EXPECT_EQ(codePage->number(), 1251) << name;
    }
    EXPECT_EQ(CodePage::byName("cp932")->number(), 932);
    EXPECT_EQ(CodePage::byName("windows-874")->number(), 874);
}

TEST(CodePageNames, RejectsUnknownPagesAndMalformedNames)
{
    for (const char* name : {"", "cp", "windows-", "1249", "1259", "437", "utf-8", "CP-1251", " 1251", "1251 ",
                             "cp1251x", "iso-8859-5", "65001", "99999999999"})
        EXPECT_FALSE(CodePage::byName(name).has_value()) << name;
}

// Under tr_TR.UTF-8 tolower('I') is 'I' (its small letter is dotless and takes two bytes), so a
// name lowered by the locale was "wIndows-1251" and refused. The locale is built for the test; where
// the locale sources are missing there is nothing to check.
TEST(CodePageNames, AreComparedInAsciiUnderATurkishLocale)
{
    test::ScratchFolder folder;
    const std::string build = "localedef -i tr_TR -f UTF-8 " + folder / "tr_TR.UTF-8" + " >/dev/null 2>&1";
    if (std::system(build.c_str()) != 0) GTEST_SKIP() << "localedef cannot build tr_TR.UTF-8 here";
    std::optional<std::string> savedLocPath;
    if (const char* value = std::getenv("LOCPATH")) savedLocPath = value;
    setenv("LOCPATH", folder.path().c_str(), 1);
    const bool turkish = std::setlocale(LC_ALL, "tr_TR.UTF-8") != nullptr;
    const bool lowersIAsTurkish = std::tolower('I') != 'i';
    std::optional<CodePage> upper = CodePage::byName("WINDOWS-1251");
    std::setlocale(LC_ALL, "C");
    if (savedLocPath)
        setenv("LOCPATH", savedLocPath->c_str(), 1);
    else
        unsetenv("LOCPATH");

    ASSERT_TRUE(turkish);
    EXPECT_TRUE(lowersIAsTurkish);
    ASSERT_TRUE(upper.has_value());
    EXPECT_EQ(upper->number(), 1251);
}

TEST(CodePageLocale, PicksTheWindowsPageForTheLanguage)
{
    struct Case {
        const char* locale;
        int codePage;
    };
    const Case cases[] = {
        {"ru_RU.UTF-8", 1251},
        {"uk_UA", 1251},
        {"bg_BG.UTF-8", 1251},
        {"sr_RS", 1251},
        {"be_BY", 1251},
        {"mk_MK", 1251},
        {"sr_RS@latin", 1250},
        {"pl_PL", 1250},
        {"cs_CZ.UTF-8", 1250},
        {"sk_SK", 1250},
        {"hu_HU", 1250},
        {"ro_RO", 1250},
        {"hr_HR", 1250},
        {"sl_SI", 1250},
        {"sq_AL", 1250},
        {"bs_BA", 1250},
        {"el_GR.UTF-8", 1253},
        {"tr_TR", 1254},
        {"az_AZ", 1254},
        {"he_IL.UTF-8", 1255},
        {"yi_US", 1255},
        {"ar_EG", 1256},
        {"fa_IR", 1256},
        {"ur_PK", 1256},
        {"lt_LT", 1257},
        {"lv_LV", 1257},
        {"et_EE", 1257},
        {"vi_VN", 1258},
        {"th_TH.UTF-8", 874},
        {"ja_JP.UTF-8", 932},
        {"ko_KR.EUC-KR", 949},
        {"zh_CN.UTF-8", 936},
        {"zh_SG", 936},
        {"zh", 936},
        {"zh_TW.UTF-8", 950},
        {"zh_HK", 950},
        {"zh_MO", 950},
        {"en_US.UTF-8", 1252},
        {"de_DE@euro", 1252},
        {"C", 1252},
        {"C.UTF-8", 1252},
        {"POSIX", 1252},
        {"", 1252},
        {"RU_ru", 1251},
        {"ru-RU", 1251},
    };
    for (const Case& c : cases) EXPECT_EQ(CodePage::forLocale(c.locale).number(), c.codePage) << c.locale;
}

// Puts the locale variables back as they were, for the tests that run after.
class SavedLocaleVariables {
public:
    SavedLocaleVariables()
    {
        for (std::size_t i = 0; i < names_.size(); ++i) {
            const char* value = std::getenv(names_[i]);
            values_[i] = value ? std::optional<std::string>(value) : std::nullopt;
        }
    }
    ~SavedLocaleVariables()
    {
        for (std::size_t i = 0; i < names_.size(); ++i) {
            if (values_[i])
                setenv(names_[i], values_[i]->c_str(), 1);
            else
                unsetenv(names_[i]);
        }
    }

private:
    std::array<const char*, 3> names_ = {"LC_ALL", "LC_CTYPE", "LANG"};
    std::array<std::optional<std::string>, 3> values_;
};

TEST(CodePageLocale, SystemLocaleTakesTheFirstSetVariable)
{
    SavedLocaleVariables saved;
    setenv("LC_ALL", "", 1);
    setenv("LC_CTYPE", "pl_PL.UTF-8", 1);
    setenv("LANG", "ru_RU.UTF-8", 1);
    EXPECT_EQ(CodePage::systemLocaleName(), "pl_PL.UTF-8");
    EXPECT_EQ(CodePage::system().number(), 1250);
    unsetenv("LC_CTYPE");
    EXPECT_EQ(CodePage::systemLocaleName(), "ru_RU.UTF-8");
    unsetenv("LANG");
    unsetenv("LC_ALL");
    EXPECT_EQ(CodePage::systemLocaleName(), "");
    EXPECT_EQ(CodePage::system().number(), 1252);
}

TEST(CodePageTables, EveryKnownPageBuildsAndKeepsAscii)
{
    for (int number : {1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 874, 932, 936, 949, 950}) {
        CodePage codePage = page(number);
        EXPECT_EQ(codePage.number(), number);
        EXPECT_EQ(codePage.isDoubleByte(), number >= 932 && number <= 950) << number;
        EXPECT_EQ(codePage.fromUnit('A'), "A") << number;
        EXPECT_EQ(codePage.toUnit('z'), u'z') << number;
        EXPECT_EQ(codePage.fromUnit(0), std::string(1, '\0')) << number;
        EXPECT_EQ(codePage.toUnit(0), 0) << number;
    }
}

TEST(CodePageSingleByte, RoundTrips1252And1251)
{
    CodePage western = page(1252);
    EXPECT_EQ(western.fromUnit(0x00E9), "\xE9");
    EXPECT_EQ(western.fromUnit(0x20AC), "\x80");
    EXPECT_EQ(western.toUnit(0x80), 0x20AC);
    CodePage cyrillic = page(1251);
    EXPECT_EQ(cyrillic.fromUnit(0x0416), "\xC6");  // Ж
    EXPECT_EQ(cyrillic.fromUnit(0x044F), "\xFF");  // я
    EXPECT_EQ(cyrillic.toUnit(0xC0), 0x0410);      // А
    for (const CodePage& codePage : {western, cyrillic}) {
        for (int byte = 1; byte < 256; ++byte) {
            std::uint16_t unit = codePage.toUnit(static_cast<std::uint8_t>(byte));
            EXPECT_EQ(codePage.fromUnit(unit), std::string(1, static_cast<char>(byte)))
                << codePage.number() << " byte " << byte;
        }
    }
}

TEST(CodePageSingleByte, UndefinedByteStandsForTheSameUnit)
{
    CodePage western = page(1252);
    EXPECT_EQ(western.toUnit(0x81), 0x0081);
    EXPECT_EQ(western.fromUnit(0x0081), "\x81");
    EXPECT_TRUE(western.isUnassigned(0x81));
    EXPECT_FALSE(western.isUnassigned(0x80));
    EXPECT_FALSE(western.isUnassigned(0x01));
    EXPECT_FALSE(page(932).isUnassigned(0x93)) << "a lead byte belongs to the page";
}

TEST(CodePageSingleByte, MissingUnitsAndLoneSurrogatesBecomeQuestionMarks)
{
    CodePage western = page(1252);
    EXPECT_EQ(western.fromUnit(0x0416), "?");
    EXPECT_EQ(western.fromUnit(0x4E00), "?");
    EXPECT_EQ(page(1251).fromUnit(0x00E9), "?");
    for (int number : {1252, 1258, 932, 950}) {
        EXPECT_EQ(page(number).fromUnit(0xD800), "?") << number;
        EXPECT_EQ(page(number).fromUnit(0xDC00), "?") << number;
        EXPECT_EQ(page(number).fromUnit(0xDFFF), "?") << number;
    }
}

TEST(CodePageStateful, VietnameseAndHebrewConvertEachUnitOnItsOwn)
{
    CodePage vietnamese = page(1258);
    EXPECT_EQ(vietnamese.fromUnit(0x00C2), "\xC2");  // Â, held back by iconv until flushed
    EXPECT_EQ(vietnamese.fromUnit(u'A'), "A");
    EXPECT_EQ(vietnamese.fromUnit(0x0103), "\xE3");  // ă
    EXPECT_EQ(vietnamese.toUnit(0xC2), 0x00C2);
    EXPECT_EQ(vietnamese.toUnit(0xE3), 0x0103);
    CodePage hebrew = page(1255);
    EXPECT_EQ(hebrew.fromUnit(0x05D0), "\xE0");  // alef
    EXPECT_EQ(hebrew.toUnit(0xE0), 0x05D0);
    EXPECT_EQ(hebrew.toUnit(0x41), u'A');
}

TEST(CodePageDoubleByte, ShiftJisPairsAndLoneLeadBytes)
{
    CodePage japanese = page(932);
    EXPECT_EQ(japanese.fromUnit(0x65E5), "\x93\xFA");  // 日
    EXPECT_EQ(japanese.fromUnit(0xFF71), "\xB1");      // half-width katakana, one byte
    EXPECT_EQ(japanese.toUnit(0x93), 0);
    EXPECT_EQ(japanese.toUnit(0xB1), 0xFF71);
    EXPECT_EQ(japanese.toUtf8("\x93\xFA\x96\x7B"), "\xE6\x97\xA5\xE6\x9C\xAC");  // 日本
    EXPECT_EQ(japanese.encode(u"\u65E5\u672C"), "\x93\xFA\x96\x7B");
    EXPECT_EQ(japanese.toUtf8("a\x93"), "a?");
    EXPECT_EQ(japanese.toUtf8("\x93 "), "? ");  // a space is no trail: it keeps its meaning
}

TEST(CodePageText, ConvertsWholeTextsBothWays)
{
    CodePage cyrillic = page(1251);
    const std::string privet = "\xCF\xF0\xE8\xE2\xE5\xF2";  // Привет
    const std::string privetUtf8 = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";
    EXPECT_EQ(cyrillic.toUtf8(privet), privetUtf8);
    EXPECT_EQ(cyrillic.encode(u"\u041F\u0440\u0438\u0432\u0435\u0442"), privet);
    EXPECT_EQ(cyrillic.encode(u"x\u20ACy"), "x\x88y");
    EXPECT_EQ(cyrillic.encode(u"?"), "?");
    EXPECT_EQ(cyrillic.toUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

// A character the code page lacks is refused, never turned into "?", which would then match
// or write real "?" bytes.
TEST(CodePageText, TextWithACharacterThePageLacksCannotBeEncoded)
{
    CodePage western = page(1252);
    EXPECT_EQ(western.encode(u"Why?"), "Why?");
    EXPECT_EQ(western.encode(u"\u0416"), std::nullopt);       // Ж
    EXPECT_EQ(western.encode(u"a\U0001F600"), std::nullopt);  // an emoji: a surrogate pair
    EXPECT_EQ(western.encode(u"\xD800"), std::nullopt);       // an unpaired surrogate
    EXPECT_EQ(western.encode(u""), "");
}

TEST(CodePageText, EveryByteOfADoubleBytePageShowsAndLoneLeadBytesShowAsQuestionMarks)
{
    for (int number : {932, 936, 949, 950}) {
        CodePage codePage = page(number);
        std::string everyByte;
        for (int byte = 255; byte >= 0; --byte) everyByte += static_cast<char>(byte);
        EXPECT_FALSE(codePage.toUtf8(everyByte).empty()) << number;
        int leadBytes = 0;
        for (int byte = 1; byte < 256; ++byte) {
            if (codePage.toUnit(static_cast<std::uint8_t>(byte)) != 0) continue;
            ++leadBytes;
            EXPECT_EQ(codePage.toUtf8(std::string(1, static_cast<char>(byte))), "?") << number;
        }
        EXPECT_GE(leadBytes, 60) << number;
        EXPECT_EQ(codePage.toUtf8(""), "") << number;
    }
}

}  // namespace
}  // namespace quillet
