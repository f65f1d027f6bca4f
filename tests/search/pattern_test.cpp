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

TEST_F(PatternTest, HexDataReadsPairsOfEitherCaseWithSpacesBetweenThem)
{
    EXPECT_EQ(hex(u"0aFF41"), bytesFromHex("0A FF 41"));
    EXPECT_EQ(hex(u" DE AD  be ef "), bytesFromHex("DE AD BE EF"));
    EXPECT_TRUE(hex(u"").empty());
}

// A mistyped pattern must never find or replace other bytes than the person meant.
TEST_F(PatternTest, HexDataRefusesAnythingButPairsOfDigitsAndSaysWhere)
{
    auto reason = [&](const std::u16string& text) {
        Result<Bytes> pattern = patternBytes(text, PatternMode::HexData, cp1252);
        return pattern ? std::string("accepted") : pattern.failure().reason;
    };
    const std::string advice = "; write each byte as two hex digits, such as 4F 6B.";
    EXPECT_EQ(reason(u"4X"), "\"4X\": character 2 (\"X\") is no hex digit" + advice);
    EXPECT_EQ(reason(u"4"), "\"4\": character 1 (\"4\") is a hex digit without its pair" + advice);
    EXPECT_EQ(reason(u"414"), "\"414\": character 3 (\"4\") is a hex digit without its pair" + advice);
    EXPECT_EQ(reason(u"41 4 2"), "\"41 4\": character 4 (\"4\") is a hex digit without its pair" + advice);
    EXPECT_EQ(reason(u"$41"), "\"$\": character 1 (\"$\") is no hex digit" + advice);
    EXPECT_EQ(reason(u"0x41"), "\"0x\": character 2 (\"x\") is no hex digit" + advice);
    EXPECT_EQ(reason(u"41\u0416"), "\"41\xD0\x96\": character 3 (\"\xD0\x96\") is no hex digit" + advice);
    EXPECT_EQ(reason(u"41\U0001F600"),
              "\"41\xF0\x9F\x98\x80\": character 3 (\"\xF0\x9F\x98\x80\") is no hex digit" + advice);
    // A control character is named by its code and not printed.
    EXPECT_EQ(reason(u"41\x1B[2J"), "\"41\": character 3 (U+001B) is no hex digit" + advice);
    EXPECT_EQ(reason(u"41\t42"), "\"41\": character 3 (U+0009) is no hex digit" + advice);
    EXPECT_EQ(reason(u"   "), "\"   \" holds no hex digits" + advice);
    // A long text is quoted by its end, up to the fault.
    EXPECT_EQ(reason(std::u16string(30, u'A') + u"G"),
              "\"..." + std::string(23, 'A') + "G\": character 31 (\"G\") is no hex digit" + advice);
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
    // Hex texts are counted in bytes: spaces between pairs do not count.
    EXPECT_EQ(patternCharacterCount(u"41 42", PatternMode::HexData, cp932), 2u);
    EXPECT_EQ(patternCharacterCount(u"4142", PatternMode::HexData, cp932), 2u);
    EXPECT_EQ(patternCharacterCount(u"414", PatternMode::HexData, cp932), std::nullopt);
}

}  // namespace
}  // namespace quillet
