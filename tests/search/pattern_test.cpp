#include "search/pattern.h"

#include <gtest/gtest.h>

#include "model/codepage.h"
#include "support/byte_strings.h"

namespace quillet {
namespace {

using test::bytesFromHex;

class PatternTest : public ::testing::Test {
protected:
    CodePage cp1252 = *CodePage::byName("1252");
    CodePage cp1251 = *CodePage::byName("1251");
    Bytes hex(const std::u16string& text) { return *patternBytes(text, PatternMode::HexData, cp1252); }
    static std::optional<Bytes> bytesOf(const Result<Bytes>& pattern)
    {
        return pattern ? std::optional<Bytes>(*pattern) : std::nullopt;
    }
};

TEST_F(PatternTest, HexDataReadsPairsOfEitherCase)
{
    EXPECT_EQ(hex(u"0aFF41"), bytesFromHex("0A FF 41"));
    EXPECT_EQ(hex(u"$7"), bytesFromHex("07"));
}

TEST_F(PatternTest, HexDataIgnoresAnOddLastCharacter)
{
    EXPECT_EQ(hex(u"414"), bytesFromHex("41"));
    EXPECT_TRUE(hex(u"4").empty());
    EXPECT_TRUE(hex(u"").empty());
}

TEST_F(PatternTest, HexDataPairsBlanksLikeOtherCharactersAndReadsNonNumbersAsZero)
{
    EXPECT_EQ(hex(u"41 42"), bytesFromHex("41 00"));
    EXPECT_EQ(hex(u" 77 G17$"), bytesFromHex("00 00 00 00"));
}

TEST_F(PatternTest, HexDataReadsCharactersOtherThanAsciiAsZero)
{
    EXPECT_EQ(hex(u"4\u0416"), bytesFromHex("00"));
}

TEST_F(PatternTest, TextIsTheTextInTheCodePageCaseKept)
{
    EXPECT_EQ(bytesOf(patternBytes(u"ab\u00E9", PatternMode::Text, cp1252)), bytesFromHex("61 62 E9"));
    EXPECT_EQ(bytesOf(patternBytes(u"\u042F", PatternMode::Text, cp1251)), bytesFromHex("DF"));
    CodePage cp932 = *CodePage::byName("932");
    EXPECT_EQ(bytesOf(patternBytes(u"\u65E5", PatternMode::Text, cp932)), bytesFromHex("93 FA"));
}

// "Ж" in code page 1252 would turn into "?" and match real question marks.
TEST_F(PatternTest, TextWithACharacterTheCodePageLacksIsRefusedWithAReason)
{
    Result<Bytes> pattern = patternBytes(u"\u0416", PatternMode::Text, cp1252);
    ASSERT_FALSE(pattern);
    const std::string& reason = pattern.failure().reason;
    EXPECT_NE(reason.find("1252"), std::string::npos) << reason;
    EXPECT_NE(reason.find("\xD0\x96"), std::string::npos) << reason;
    EXPECT_EQ(patternCharacterCount(u"\u0416", PatternMode::Text, cp1252), std::nullopt);
}

TEST_F(PatternTest, TextUnicodeIsTheTextsOwnUnits)
{
    EXPECT_EQ(bytesOf(patternBytes(u"AB", PatternMode::TextUnicode, cp1252)), bytesFromHex("41 00 42 00"));
    EXPECT_EQ(bytesOf(patternBytes(u"\u042F\U0001F600", PatternMode::TextUnicode, cp1252)),
              bytesFromHex("2F 04 3D D8 00 DE"));
}

TEST_F(PatternTest, ReplaceTextsAreCountedInWhatMakesTheirLength)
{
    CodePage cp932 = *CodePage::byName("932");
    EXPECT_EQ(patternCharacterCount(u"\u65E5", PatternMode::Text, cp932), 2u);
    EXPECT_EQ(patternCharacterCount(u"\u65E5", PatternMode::TextUnicode, cp932), 1u);
    EXPECT_EQ(patternCharacterCount(u"414", PatternMode::HexData, cp932), 3u);
}

}  // namespace
}  // namespace quillet
