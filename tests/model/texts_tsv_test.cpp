#include <gtest/gtest.h>

#include "model/texts_formats.h"
#include "support/random_texts.h"

namespace quillet {
namespace {

const TextsFormat& tsvFormat = textsFormatNamed("tsv")->format;

using Units = std::u16string;
using namespace std::string_literals;

Units unitsOf(std::string_view ascii)
{
    return Units(ascii.begin(), ascii.end());
}

// Segments 2 ("Hi") and 4 ("Yo") are the file's unicode blocks.
const std::vector<BlockText> TwoBlocks = {{2, unitsOf("Hi"), 0x10}, {4, unitsOf("Yo"), 0x20}};

TextsRead readOk(std::string_view texts)
{
    Result<TextsRead> read = tsvFormat.read(texts, TwoBlocks);
    if (!read) {
        ADD_FAILURE() << texts << "\n" << read.failure().line << ": " << read.failure().reason;
        return {};
    }
    return *read;
}

void expectError(std::string_view texts, std::size_t line, const std::string& reason)
{
    Result<TextsRead> read = tsvFormat.read(texts, TwoBlocks);
    ASSERT_FALSE(read) << texts;
    EXPECT_EQ(read.failure().line, line) << texts;
    EXPECT_EQ(read.failure().reason, reason) << texts;
}

TEST(TextsTsv, WritesNumberSourceAndTextEscapedOnOneLinePerBlock)
{
    // "a\b", TAB, LF, CR, unit 0, U+1F600 as a pair, an unpaired high and low surrogate, "é".
    Units units = {'a', '\\', 'b', '\t', '\n', '\r', 0, 0xD83D, 0xDE00, 0xD800, 'x', 0xDC01, 0xE9};
    std::string escaped = "a\\\\b\\t\\n\\r\\0\xF0\x9F\x98\x80\\uD800x\\uDC01\xC3\xA9";
    EXPECT_EQ(tsvFormat.write("", {{2, units}, {4, unitsOf("Hi")}, {7, {}}}),
              "2\t" + escaped + "\t" + escaped + "\n4\tHi\tHi\n7\t\t\n");
    EXPECT_EQ(tsvFormat.write("", {}), "");
    // Every other control character is escaped too, so that a line holds none an editor could
    // take for a line end or show as nothing: C0, DEL and C1.
    EXPECT_EQ(tsvFormat.write("", {{3, {0x01, 0x1B, 0x1F, ' ', 0x7F, 0x85, 0x9F, 0xA0}}}),
              "3\t\\u0001\\u001B\\u001F \\u007F\\u0085\\u009F\xC2\xA0\t\\u0001\\u001B\\u001F \\u007F\\u0085\\u009F"
              "\xC2\xA0\n");
}

TEST(TextsTsv, RandomTextsComeBackExactly)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 20; ++round) {
        std::vector<BlockText> blocks = test::randomBlocks(random, 12);
        Result<TextsRead> read = tsvFormat.read(tsvFormat.write("", blocks), blocks);
        ASSERT_TRUE(read) << read.failure().line << ": " << read.failure().reason;
        ASSERT_EQ(read->changes.size(), blocks.size());
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            EXPECT_EQ(read->changes[i].segmentNumber, blocks[i].segmentNumber);
            EXPECT_EQ(read->changes[i].units, blocks[i].units);
        }
        EXPECT_EQ(summaryOf(read->counts), "12 applied");
    }
}

TEST(TextsTsv, TakesEveryLineEndAByteOrderMarkAndEmptyLines)
{
    for (std::string end : {"\n", "\r\n", "\r"}) {
        TextsRead read = readOk("\xEF\xBB\xBF"
                                "4\tYo\tNew" +
                                end + end + end + "2\tHi\tOld\\r" + end);
        ASSERT_EQ(read.changes.size(), 2u) << testing::PrintToString(end);
        EXPECT_EQ(read.changes[0].segmentNumber, 4u);
        EXPECT_EQ(read.changes[0].units, unitsOf("New"));
        EXPECT_EQ(read.changes[1].units, unitsOf("Old\r"));
    }
    // A line of a file with CR line ends is named by its number.
    expectError("2\tHi\tx\r\r4\tYo\t\\q\r", 3, "unknown escape \\q");
    EXPECT_EQ(readOk("4\tYo\tlast line without a line end").changes.size(), 1u);
    // A text can be emptied.
    EXPECT_EQ(readOk("4\tYo\t\n").changes[0].units, Units());
}

// A file made for another version of the resource file never puts a text on another block.
TEST(TextsTsv, ALineWhoseSourceIsNotTheBlocksTextIsRefused)
{
    expectError("2\tHi\tHallo\n4\tHo\tHeda\n", 2,
                "the source text is not the current text of segment 4 (\"Yo\"): the file was made for another "
                "version of the resource file");
    expectError("2\tHi \tHallo\n", 1,
                "the source text is not the current text of segment 2 (\"Hi\"): the file was made for another "
                "version of the resource file");
    expectError("2\tH\\qi\tHallo\n", 1, "in the source text: unknown escape \\q");
}

// Files written before the TAB format carried the source are still read, by number alone.
TEST(TextsTsv, LinesOfTwoFieldsApplyByNumberAndAreCountedUnchecked)
{
    TextsRead read = readOk("4\tNew\n2\tHi\tHallo\n");
    ASSERT_EQ(read.changes.size(), 2u);
    EXPECT_EQ(read.changes[0].segmentNumber, 4u);
    EXPECT_EQ(read.changes[0].units, unitsOf("New"));
    EXPECT_EQ(read.counts.applied, 2u);
    EXPECT_EQ(read.counts.unchecked, 1u);
    EXPECT_EQ(summaryOf(read.counts), "2 applied, 1 unchecked");
}

TEST(TextsTsv, RefusesRawControlCharactersNamingTheLine)
{
    expectError("2\tHi\tok\n4\tYo\tone\ttwo\n", 2, "the text holds a TAB as it is; write it as \\t");
    expectError("2\tHi\tnul \0 inside\n"s, 1, "the text holds the control character U+0000 as it is; write it as \\0");
    expectError("2\tHi\tbell \a\n", 1, "the text holds the control character U+0007 as it is; write it as \\u0007");
    expectError("2\tHi\tnext line \xC2\x85\n", 1,
                "the text holds the control character U+0085 as it is; write it as \\u0085");
    expectError("2\tH\x7Fi\tx\n", 1,
                "in the source text: the text holds the control character U+007F as it is; write it as \\u007F");
}

TEST(TextsTsv, RefusesBadLinesNamingTheFirst)
{
    const std::string expected = "expected a segment number, a TAB, the source text, a TAB and the text";
    expectError("2\tHi\tok\nx\tno\n", 2, expected);
    expectError("2 no tab\n", 1, expected);
    expectError("1234567890\tten digits\n", 1, expected);
    expectError("\n\n3\tdata\n", 3, "segment 3 is not a unicode block");
    expectError("0\tnone\n", 1, "segment 0 is not a unicode block");
    expectError("004\tx\n2\tbad \\q\n", 2, "unknown escape \\q");
    expectError("2\t\\u12\n", 1, "\\u needs four hex digits");
    expectError("2\t\\u+123\n", 1, "\\u needs four hex digits");
    // A byte order mark counts only at the very start.
    expectError("2\tok\n\xEF\xBB\xBF"
                "4\tno\n",
                2, expected);
}

TEST(TextsTsv, AFileOfNoTextsOrInUtf16IsRefused)
{
    expectError("", 0, "the file holds no texts");
    expectError("\xEF\xBB\xBF\n\r\n\r", 0, "the file holds no texts");
    const std::string utf16 = "UTF-16 is not supported, save the file as UTF-8";
    expectError("\xFF\xFE"
                "2\0\t\0"s,
                1, utf16);
    expectError("\xFE\xFF\0"
                "2\0\t"s,
                1, utf16);
    expectError("2\0\t\0H\0i\0"s, 1, utf16);
    expectError("\0"
                "2\0\t"s,
                1, utf16);
}

TEST(TextsTsv, SegmentNamedTwiceNamesBothLines)
{
    expectError("4\tone\n2\tHi\n\n004\ttwo\n", 4, "segment 4 is named again (first on line 1)");
}

TEST(TextsTsv, TextMustFitInABlock)
{
    std::string longest = "2\tHi\t" + std::string(255, 'x') + "\n";
    EXPECT_TRUE(tsvFormat.read(longest, TwoBlocks));
    expectError("2\tHi\t" + std::string(254, 'x') + "\\n\\0\n", 1,
                "the text has 256 UTF-16 units, a unicode block holds at most 255");
}

}  // namespace
}  // namespace quillet
