#include <gtest/gtest.h>

#include "model/document.h"
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

// A segment's line is made from its fields: its number and tag from loading, then its range,
// its text or the text it was forced to show.
TEST(LineFormat, SegmentLinesAreMadeFromTheSegmentsFields)
{
    Document document;
    Segment data;
    data.offset = 0x0F;
    data.data = Bytes(16, 0);
    data.number = 3;
    data.tag = 1;
    document.segments.push_back(data);
    Segment block;
    block.kind = SegmentKind::Unicode;
    block.data = Bytes{'H', 0, 'i', 0};
    block.number = 1000;
    document.segments.push_back(block);
    EXPECT_EQ(document.segmentLine(0), "003(1) 0010:001F");
    EXPECT_EQ(document.segmentLine(1), "1000 Hi");
    document.segments[0].forcedText = u"forced";
    EXPECT_EQ(document.segmentLine(0), "003(1) forced");
    document.noIndex = true;
    EXPECT_EQ(document.segmentLine(0), "0000:0010");
}

TEST(HexValue, ReadsHexWithAnOptionalDollarAndGivesZeroOtherwise)
{
    EXPECT_EQ(hexValueOfText("4f"), 0x4Fu);
    EXPECT_EQ(hexValueOfText("7"), 0x07u);
    EXPECT_EQ(hexValueOfText("$7"), 0x07u);
    EXPECT_EQ(hexValueOfText("1FF") & 0xFF, 0xFFu);
    for (const char* text : {"", "G1", " 7", "7 ", "7$", "$", "$$1", "-1"}) EXPECT_EQ(hexValueOfText(text), 0u) << text;
}

// A \uXXXX notation: exactly four digits, nothing a number parser would let through.
TEST(HexValue, FourHexDigitsMakeAUnit)
{
    EXPECT_EQ(unitOfFourHexDigits("00e9"), u'\u00E9');
    EXPECT_EQ(unitOfFourHexDigits("DC00x"), u'\xDC00');
    for (const char* text : {"", "DC0", "DC0G", " 123", "+123", "-123", "0x12"})
        EXPECT_EQ(unitOfFourHexDigits(text), std::nullopt) << text;
}

}  // namespace
}  // namespace quillet
