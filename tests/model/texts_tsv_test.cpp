#include <gtest/gtest.h>

#include "model/texts_formats.h"
#include "support/random_texts.h"

namespace quillet {
namespace {

const TextsFormat& tsvFormat = textsFormatNamed("tsv")->format;

using Units = std::u16string;

Units unitsOf(std::string_view ascii)
{
    return Units(ascii.begin(), ascii.end());
}

// Segments 2 ("Hi") and 4 ("Yo") are the file's unicode blocks.
const std::vector<BlockText> TwoBlocks = {{2, unitsOf("Hi")}, {4, unitsOf("Yo")}};

void expectError(std::string_view texts, std::size_t line, const std::string& reason)
{
    Result<TextChanges> changes = tsvFormat.read(texts, TwoBlocks);
    ASSERT_FALSE(changes) << texts;
    EXPECT_EQ(changes.failure().line, line) << texts;
    EXPECT_EQ(changes.failure().reason, reason) << texts;
}

TEST(TextsTsv, WritesOneEscapedLinePerBlock)
{
    // "a\b", TAB, LF, CR, unit 0, U+1F600 as a pair, an unpaired high and low surrogate, "é".
    Units units = {'a', '\\', 'b', '\t', '\n', '\r', 0, 0xD83D, 0xDE00, 0xD800, 'x', 0xDC01, 0xE9};
    EXPECT_EQ(tsvFormat.write("", {{2, units}, {4, unitsOf("Hi")}, {7, {}}}),
              "2\ta\\\\b\\t\\n\\r\\0\xF0\x9F\x98\x80\\uD800x\\uDC01\xC3\xA9\n4\tHi\n7\t\n");
    EXPECT_EQ(tsvFormat.write("", {}), "");
}

TEST(TextsTsv, RandomTextsComeBackExactly)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 20; ++round) {
        std::vector<BlockText> blocks = test::randomBlocks(random, 12);
        Result<TextChanges> changes = tsvFormat.read(tsvFormat.write("", blocks), blocks);
        ASSERT_TRUE(changes) << changes.failure().line << ": " << changes.failure().reason;
        ASSERT_EQ(changes->size(), blocks.size());
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            EXPECT_EQ((*changes)[i].segmentNumber, blocks[i].segmentNumber);
            EXPECT_EQ((*changes)[i].units, blocks[i].units);
        }
    }
}

TEST(TextsTsv, AcceptsAByteOrderMarkCrLfAndEmptyLines)
{
    Result<TextChanges> changes = tsvFormat.read("\xEF\xBB\xBF"
                                                 "4\tNew\r\n\r\n\n2\tOld\\r\r\n",
                                                 TwoBlocks);
    ASSERT_TRUE(changes) << changes.failure().reason;
    ASSERT_EQ(changes->size(), 2u);
    EXPECT_EQ((*changes)[0].segmentNumber, 4u);
    EXPECT_EQ((*changes)[0].units, unitsOf("New"));
    EXPECT_EQ((*changes)[1].units, unitsOf("Old\r"));
    EXPECT_EQ(tsvFormat.read("4\tlast line without a line end", TwoBlocks)->size(), 1u);
}

TEST(TextsTsv, RefusesBadLinesNamingTheFirst)
{
    expectError("2\tok\nx\tno\n", 2, "expected a segment number, a TAB and the text");
    expectError("2 no tab\n", 1, "expected a segment number, a TAB and the text");
    expectError("1234567890\tten digits\n", 1, "expected a segment number, a TAB and the text");
    expectError("\n\n3\tdata\n", 3, "segment 3 is not a unicode block");
    expectError("0\tnone\n", 1, "segment 0 is not a unicode block");
    expectError("004\tx\n2\tbad \\q\n", 2, "unknown escape \\q");
    expectError("2\t\\u12\n", 1, "\\u needs four hex digits");
    expectError("2\t\\u+123\n", 1, "\\u needs four hex digits");
    // A byte order mark counts only at the very start.
    expectError("2\tok\n\xEF\xBB\xBF"
                "4\tno\n",
                2, "expected a segment number, a TAB and the text");
}

TEST(TextsTsv, SegmentNamedTwiceNamesBothLines)
{
    expectError("4\tone\n2\tHi\n\n004\ttwo\n", 4, "segment 4 is named again (first on line 1)");
}

TEST(TextsTsv, TextMustFitInABlock)
{
    std::string longest = "2\t" + std::string(255, 'x') + "\n";
    EXPECT_TRUE(tsvFormat.read(longest, TwoBlocks));
    expectError("2\t" + std::string(254, 'x') + "\\n\\0\n", 1,
                "the text has 256 UTF-16 units, a unicode block holds at most 255");
}

}  // namespace
}  // namespace quillet
