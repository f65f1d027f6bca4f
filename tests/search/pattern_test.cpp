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
    Bytes hex(const std::string& text) { return patternBytes(text, PatternMode::HexData, cp1252); }
};

TEST_F(PatternTest, HexDataReadsPairsOfEitherCase)
{
    EXPECT_EQ(hex("0aFF41"), bytesFromHex("0A FF 41"));
    EXPECT_EQ(hex("$7"), bytesFromHex("07"));
}

TEST_F(PatternTest, HexDataIgnoresAnOddLastCharacter)
{
    EXPECT_EQ(hex("414"), bytesFromHex("41"));
    EXPECT_TRUE(hex("4").empty());
    EXPECT_TRUE(hex("").empty());
}

TEST_F(PatternTest, HexDataPairsBlanksLikeOtherCharactersAndReadsNonNumbersAsZero)
{
    EXPECT_EQ(hex("41 42"), bytesFromHex("41 00"));
    EXPECT_EQ(hex(" 77 G17$"), bytesFromHex("00 00 00 00"));
}

TEST_F(PatternTest, TextIsTheTextsOwnBytesCaseKept)
{
    EXPECT_EQ(patternBytes("ab\xE9", PatternMode::Text, cp1252), bytesFromHex("61 62 E9"));
}

TEST_F(PatternTest, TextUnicodeConvertsEachCharacterThroughTheCodePage)
{
    EXPECT_EQ(patternBytes("AB", PatternMode::TextUnicode, cp1252), bytesFromHex("41 00 42 00"));
    // Cyrillic "Я" is 0xDF in 1251 and U+042F; the euro sign is 0x80 in 1252 and U+20AC.
    EXPECT_EQ(patternBytes("\xDF", PatternMode::TextUnicode, cp1251), bytesFromHex("2F 04"));
    EXPECT_EQ(patternBytes("\x80", PatternMode::TextUnicode, cp1252), bytesFromHex("AC 20"));
}

TEST_F(PatternTest, TextUnicodeGivesUnitZeroForALoneLeadByte)
{
    CodePage cp932 = *CodePage::byName("932");
    EXPECT_EQ(patternBytes("\x82" "A", PatternMode::TextUnicode, cp932), bytesFromHex("00 00 41 00"));
}

}  // namespace
}  // namespace quillet
