#include <gtest/gtest.h>

#include "model/codepage.h"
#include "model/loader.h"
#include "support/byte_strings.h"
#include "support/document_lines.h"
#include "support/resource_builder.h"

namespace quillet {
namespace {

using test::bytesFromHex;
using test::hexOf;

Document load(std::string_view bytes)
{
    return parseResource(bytesFromHex(bytes));
}

std::vector<std::string> indexLines(const Document& document)
{
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < document.indexTable.size(); ++k) lines.push_back(document.indexLine(k));
    return lines;
}

using Lines = std::vector<std::string>;

TEST(Loader, WorkedExampleGivesTheEditorsLines)
{
    Document document = parseResource(test::workedExampleFile());
    EXPECT_FALSE(document.noIndex);
    EXPECT_EQ(indexLines(document), (Lines{"0004(0)", "0007(1)", "000D(2)"}));
    EXPECT_EQ(test::linesOf(document), (Lines{"001(0) 0004:0006", "002(1) Hi", "003(2) 000D:000F"}));
    ASSERT_EQ(document.segments.size(), 3u);
    EXPECT_EQ(document.segments[0].offset, 3);
    EXPECT_EQ(hexOf(document.segments[0].data), "01 02 03");
    EXPECT_EQ(document.segments[1].kind, SegmentKind::Unicode);
    EXPECT_EQ(document.segments[1].offset, 7);
    EXPECT_EQ(document.segments[1].size(), 4);
    EXPECT_EQ(hexOf(document.segments[1].data), "48 00 69 00");
    EXPECT_EQ(document.segments[2].offset, 12);
    EXPECT_EQ(document.segments[2].size(), 3);
    EXPECT_EQ(document.header.length, 24u);
}

TEST(Loader, ShortOrUnmatchedFilesAreHeldRaw)
{
    Document empty = load("");
    EXPECT_TRUE(empty.noIndex);
    EXPECT_EQ(test::linesOf(empty), Lines{"0000:0000"});
    ASSERT_EQ(empty.segments.size(), 1u);
    EXPECT_EQ(empty.segments[0].size(), 0);

    Document three = load("01 02 03");
    EXPECT_TRUE(three.noIndex);
    EXPECT_EQ(test::linesOf(three), Lines{"0000:0003"});
    EXPECT_EQ(hexOf(three.segments[0].data), "01 02 03");

    Document unmatched = load("01 00 02 00 03 00");
    EXPECT_TRUE(unmatched.noIndex);
    EXPECT_EQ(test::linesOf(unmatched), Lines{"0000:0006"});
    EXPECT_TRUE(unmatched.indexTable.empty());
    EXPECT_EQ(unmatched.segments[0].offset, 0);
}

TEST(Loader, RawLineShowsTheLengthInAtLeastFourDigits)
{
    Bytes big(6720, 0x11);
    big.back() = 0x22;  // the last word differs from the first
    Document document = parseResource(big);
    EXPECT_EQ(test::linesOf(document), Lines{"0000:1A40"});
    Bytes huge(0x12345, 0x22);
    huge.back() = 0x33;
    EXPECT_EQ(test::linesOf(parseResource(huge)), Lines{"0000:12345"});
}

TEST(Loader, FourZeroBytesAreAnIndexWithoutBody)
{
    Document document = load("00 00 00 00");
    EXPECT_FALSE(document.noIndex);
    EXPECT_EQ(indexLines(document), Lines{"0000(0)"});
    EXPECT_TRUE(document.segments.empty());
}

TEST(Loader, IndexOffsetPastTheEndIsHeldRaw)
{
    Document document = load("FF FF 01 02 03 FF FF");
    EXPECT_TRUE(document.noIndex);
    EXPECT_EQ(test::linesOf(document), Lines{"0000:0007"});
}

TEST(Loader, StrayByteOfAnOddIndexAreaBelongsToNothing)
{
    // I = 6, L = 11: L - I - 2 = 3, one entry and one stray byte.
    Document document = load("06 00 00 00 | 41 42 | 04 00 | 99 | 06 00");
    EXPECT_EQ(indexLines(document), Lines{"0004(0)"});
    EXPECT_EQ(test::linesOf(document), Lines{"001(0) 0004:0005"});
}

TEST(Loader, IndexRightBeforeOrOnTheTrailerHasNoEntries)
{
    EXPECT_TRUE(load("06 00 00 00 | 41 42 | 06 00").indexTable.empty());
    // I = L - 1 and I = L: the trailer's bytes below I are body bytes.
    Document minusOne = load("07 00 00 00 | 41 42 | 07 00");
    EXPECT_TRUE(minusOne.indexTable.empty());
    EXPECT_EQ(test::linesOf(minusOne), Lines{"001 0004:0006"});
    Document atEnd = load("08 00 00 00 | 41 42 | 08 00");
    EXPECT_EQ(test::linesOf(atEnd), Lines{"001 0004:0007"});
}

TEST(Loader, BlockAtAnEntryTakesTheEntrysTag)
{
    Document document = load("0B 00 00 00 | 01 02 | 01 AB 41 00 | 03 | 04 00 06 00 | 0B 00");
    EXPECT_EQ(test::linesOf(document), (Lines{"001(0) 0004:0005", "002(1) A", "003(1) 000A:000A"}));
    EXPECT_EQ(document.segments[1].offset, 6);
}

TEST(Loader, OneByteSegmentBeforeAnEntryTakesThatEntrysTag)
{
    // Block, then a single byte at 8 right before entry 9: its anchor is 8 + 1 = 9.
    Document document = load("0B 00 00 00 | 01 AB 41 00 | 07 | 08 09 | 04 00 09 00 | 0B 00");
    EXPECT_EQ(test::linesOf(document), (Lines{"001(0) A", "002(1) 0008:0008", "003(1) 0009:000A"}));
}

TEST(Loader, EmptyBlockAndEntriesInsideABlock)
{
    Document empty = load("09 00 00 00 | 05 00 AB 06 07 | 04 00 | 09 00");
    EXPECT_EQ(test::linesOf(empty), (Lines{"001(0) 0004:0004", "002(0) ", "003(0) 0007:0008"}));
    // Entry 8 lies inside the block's text: it cuts nothing.
    Document spanning = load("0B 00 00 00 | 02 AB 41 00 42 00 | 05 | 04 00 08 00 | 0B 00");
    EXPECT_EQ(test::linesOf(spanning), (Lines{"001(0) AB", "002(1) 000A:000A"}));
}

TEST(Loader, DuplicateEntriesCutOnceAndOutOfRangeEntriesNeverCut)
{
    Document document = load("0A 00 00 00 | 01 02 03 04 05 06 | 06 00 06 00 02 00 09 00 40 00 | 0A 00");
    EXPECT_EQ(test::linesOf(document), (Lines{"001(2) 0004:0005", "002(2) 0006:0009"}));
}

TEST(Loader, MarkersWithoutTheirOwnCountByteAreData)
{
    // At position 4, at an entry, right after a block.
    EXPECT_EQ(test::linesOf(load("07 00 00 00 | AB 01 02 | 04 00 | 07 00")), Lines{"001(0) 0004:0006"});
    EXPECT_EQ(test::linesOf(load("08 00 00 00 | 01 AB 41 00 | 04 00 05 00 | 08 00")),
              (Lines{"001(1) 0004:0004", "002(1) 0005:0007"}));
    Document afterBlock = load("0B 00 00 00 | 01 AB 41 00 | AB 05 06 | 04 00 | 0B 00");
    EXPECT_EQ(test::linesOf(afterBlock), (Lines{"001(0) A", "002(0) 0008:000A"}));
}

TEST(Loader, BlockReachingIntoTheIndexIsData)
{
    Document document = load("08 00 00 00 | 05 AB 41 00 | 04 00 | 08 00");
    EXPECT_EQ(test::linesOf(document), Lines{"001(0) 0004:0007"});
    // Ending exactly at I - 1 is a block; ending at I - 2 leaves a one-byte segment.
    EXPECT_EQ(test::linesOf(load("08 00 00 00 | 01 AB 41 00 | 04 00 | 08 00")), Lines{"001(0) A"});
    EXPECT_EQ(test::linesOf(load("09 00 00 00 | 01 AB 41 00 07 | 04 00 | 09 00")),
              (Lines{"001(0) A", "002(0) 0008:0008"}));
}

TEST(Loader, LastBodyByteJoinsTheDataWhateverItIs)
{
    EXPECT_EQ(test::linesOf(load("07 00 00 00 | 01 02 AB | 04 00 | 07 00")), Lines{"001(0) 0004:0006"});
    EXPECT_EQ(test::linesOf(load("07 00 00 00 | 01 02 03 | 04 00 06 00 | 07 00")), Lines{"001(0) 0004:0006"});
    EXPECT_EQ(test::linesOf(load("05 00 00 00 | 42 | 05 00")), Lines{"001 0004:0004"});
}

TEST(Loader, UnitZeroAddsNothingToTheLine)
{
    Document document = load("0C 00 00 00 | 03 AB 41 00 00 00 42 00 | 04 00 | 0C 00");
    EXPECT_EQ(test::linesOf(document), Lines{"001(0) AB"});
    EXPECT_EQ(document.segments[0].size(), 6);
}

TEST(Loader, SequenceNumbersPassNineHundredNinetyNine)
{
    // An entry at every position from 4 to 1004 and one more body byte: 1001 segments.
    Bytes file = {0, 0, 0, 0};
    std::vector<std::uint16_t> entries;
    for (int position = 4; position <= 1005; ++position) {
        if (position <= 1004) entries.push_back(static_cast<std::uint16_t>(position));
        file.push_back(0x11);
    }
    auto pushWord = [&file](std::uint16_t word) {
        file.push_back(static_cast<std::uint8_t>(word));
        file.push_back(static_cast<std::uint8_t>(word >> 8));
    };
    std::uint16_t indexOffset = static_cast<std::uint16_t>(file.size());
    for (std::uint16_t entry : entries) pushWord(entry);
    pushWord(indexOffset);
    file[0] = static_cast<std::uint8_t>(indexOffset);
    file[1] = static_cast<std::uint8_t>(indexOffset >> 8);
    Document document = parseResource(file);
    ASSERT_EQ(document.segments.size(), 1001u);
    // A data segment's tag is the last entry at or below its first position plus one.
    EXPECT_EQ(test::linesOf(document)[8], "009(9) 000C:000C");
    EXPECT_EQ(test::linesOf(document)[998], "999(999) 03EA:03EA");
    EXPECT_EQ(test::linesOf(document)[999], "1000(1000) 03EB:03EB");
    EXPECT_EQ(test::linesOf(document)[1000], "1001(1000) 03EC:03ED");
}

}  // namespace
}  // namespace quillet
