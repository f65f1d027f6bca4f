#include <gtest/gtest.h>

#include "model/hex.h"
#include "model/line_format.h"

namespace quillet {
namespace {

TEST(LineFormat, SequenceNumbersArePaddedToThreeDigitsOnly)
{
    EXPECT_EQ(sequenceNumber(1), "001");
    EXPECT_EQ(sequenceNumber(42), "042");
    EXPECT_EQ(sequenceNumber(999), "999");
    EXPECT_EQ(sequenceNumber(1000), "1000");
}

TEST(LineFormat, HexHasAtLeastTheWidthAndMoreWhenNeeded)
{
    EXPECT_EQ(hexUpper(0x1A4, 4), "01A4");
    EXPECT_EQ(hexUpper(0x12345, 4), "12345");
    EXPECT_EQ(hexUpper(0, 8), "00000000");
}

TEST(LineFormat, EntryNumberIsTheTextBetweenTheFirstTwoParentheses)
{
    EXPECT_EQ(entryNumberOfLine("003(1) 0010:001F"), 1u);
    EXPECT_EQ(entryNumberOfLine("01A4(12)"), 12u);
    EXPECT_EQ(entryNumberOfLine("004 Text (7) and (8)"), 7u);
    EXPECT_EQ(entryNumberOfLine("005 a)9(b"), 9u);  // both kinds separate alike
    EXPECT_EQ(entryNumberOfLine("006 (0000000001)"), 1u);
    EXPECT_EQ(entryNumberOfLine("007 0004:0006"), std::nullopt);
    EXPECT_EQ(entryNumberOfLine("008 ()"), std::nullopt);
    EXPECT_EQ(entryNumberOfLine("009 (x) (3)"), std::nullopt);
    EXPECT_EQ(entryNumberOfLine("010 (99999999999999999999)"), std::nullopt);
    EXPECT_EQ(entryNumberOfLine("011 (4"), 4u);
}

TEST(LineFormat, RebuiltLinesKeepTheirHead)
{
    EXPECT_EQ(lineHead("002(1) Hi there"), "002(1)");
    EXPECT_EQ(lineHead("0000:0003"), "0000:0003");
    EXPECT_EQ(withHead("003(2) 000D:000F", "000F:0011"), "003(2) 000F:0011");
    EXPECT_EQ(withHead("004(3) Old text", ""), "004(3) ");
}

TEST(HexValue, ReadsHexWithAnOptionalDollarAndGivesZeroOtherwise)
{
    EXPECT_EQ(hexValueOfText("4f"), 0x4Fu);
    EXPECT_EQ(hexValueOfText("7"), 0x07u);
    EXPECT_EQ(hexValueOfText("$7"), 0x07u);
    EXPECT_EQ(hexValueOfText("1FF") & 0xFF, 0xFFu);
    for (const char* text : {"", "G1", " 7", "7 ", "7$", "$", "$$1", "-1"}) EXPECT_EQ(hexValueOfText(text), 0u) << text;
}

}  // namespace
}  // namespace quillet
