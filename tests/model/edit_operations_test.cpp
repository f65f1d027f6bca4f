#include <gtest/gtest.h>

#include "model/edit_operations.h"
#include "model/line_format.h"
#include "model/loader.h"
#include "model/saver.h"
#include "support/byte_strings.h"
#include "support/document_lines.h"
#include "support/resource_builder.h"

namespace quillet {
namespace {

using test::bytesFromHex;
using test::hexOf;

std::vector<std::uint16_t> offsetsOf(const Document& document)
{
    std::vector<std::uint16_t> result;
    for (const Segment& segment : document.segments) result.push_back(segment.offset);
    return result;
}

// What a document saves as, and the lines and segments that file loads back as.
struct Reloaded {
    std::string file;
    std::vector<std::string> lines;
    IndexEntries entries;
};

Reloaded reload(const Document& document)
{
    Bytes image = savedImage(document);
    Document loaded = parseResource(image);
    return {hexOf(image), test::linesOf(loaded), loaded.indexTable};
}

TEST(EditOperations, UnicodeTextResizesTheBlockAndMovesWhatLiesAboveIt)
{
    Document document = parseResource(test::workedExampleFile());
    Change change;
    change = applyUnicodeText(document, 1, u"Hey");
    EXPECT_EQ(hexOf(document.segments[1].data), "48 00 65 00 79 00");
    EXPECT_EQ(offsetsOf(document), (std::vector<std::uint16_t>{3, 7, 14}));
    EXPECT_EQ(document.indexTable, (IndexEntries{4, 7, 15}));
    EXPECT_EQ(test::linesOf(document),
              (std::vector<std::string>{"001(0) 0004:0006", "002(1) Hey", "003(2) 000F:0011"}));
    EXPECT_EQ(reload(document).file, "12 00 02 00 01 02 03 03 AB 48 00 65 00 79 00 05 06 07 04 00 07 00 0F 00 12 00");
}

TEST(EditOperations, BlockLinesShowTheExactTextWithoutUnitZero)
{
    Document document = parseResource(test::workedExampleFile());
    Change change;
    change = applyUnicodeText(document, 1, std::u16string(u"A\0\u4E00B\xD800", 5));
    EXPECT_EQ(hexOf(document.segments[1].data), "41 00 00 00 00 4E 42 00 00 D8");
    EXPECT_EQ(document.segmentLine(1), "002(1) A\xE4\xB8\x80"
                                       "B\xEF\xBF\xBD");  // A一B and U+FFFD
}

// A one-byte data segment tagged with the next entry, rewritten as an empty text: the entry of
// the block behind it moves down to where the block now begins.
TEST(EditOperations, RemovingTheRunOfAOneByteSegmentKeepsTheNextBlockAtItsEntry)
{
    Document document = parseResource(bytesFromHex("09 00 02 00 | 77 | 01 AB 41 00 | 04 00 05 00 | 09 00"));
    ASSERT_EQ(test::linesOf(document), (std::vector<std::string>{"001(1) 0004:0004", "002(1) A"}));
    Change change = spliceSegment(document, 0, 0, 1, {});
    EXPECT_EQ(document.indexTable, (IndexEntries{4, 4}));
    Reloaded reloaded = reload(document);
    EXPECT_EQ(reloaded.file, "08 00 02 00 01 AB 41 00 04 00 04 00 08 00");
    EXPECT_EQ(reloaded.lines, (std::vector<std::string>{"001(1) A"}));
}

// An untagged data segment grown by a run: every entry above the run's first byte moves, so the
// next resources stay whole.
TEST(EditOperations, GrowingARunMovesEveryEntryAboveItsFirstByte)
{
    Document document = parseResource(bytesFromHex("0A 00 02 00 | 41 00 | 11 22 | 33 44 | 06 00 08 00 | 0A 00"));
    ASSERT_EQ(test::linesOf(document)[0], "001 0004:0005");
    Change change = spliceSegment(document, 0, 0, 2, bytesFromHex("41 00 42 00"));
    EXPECT_EQ(document.indexTable, (IndexEntries{8, 10}));
    EXPECT_EQ(reload(document).lines,
              (std::vector<std::string>{"001 0004:0007", "002(0) 0008:0009", "003(1) 000A:000B"}));
}

// Removed file bytes [a, a + D): entries at or below a stay, those at or above a + D fall by D.
TEST(EditOperations, DeletingADataSegmentKeepsItsOwnEntry)
{
    Document document = parseResource(
        bytesFromHex("0E 00 02 00 | 11 12 13 14 15 | 21 22 23 | 31 32 | 04 00 09 00 0C 00 | 0E 00"));
    Change change;
    change = deleteSegment(document, 1);
    EXPECT_EQ(document.indexTable, (IndexEntries{4, 9, 9}));
    EXPECT_EQ(reload(document).lines, (std::vector<std::string>{"001(0) 0004:0008", "002(2) 0009:000A"}));
}

TEST(EditOperations, EntriesInsideARemovedBlockBecomeItsStartAndNeverWrap)
{
    // A block of 3 characters with its count byte at 4 and an entry at 6, inside its text.
    Document document = parseResource(
        bytesFromHex("0E 00 02 00 | 03 AB 41 00 42 00 43 00 | 07 08 | 04 00 06 00 0C 00 | 0E 00"));
    Change change;
    change = deleteSegment(document, 0);
    EXPECT_EQ(document.indexTable, (IndexEntries{4, 4, 4}));
    EXPECT_EQ(offsetsOf(document), (std::vector<std::uint16_t>{3}));
}

TEST(EditOperations, AnEntryPastTheBodyStaysPastItInsteadOfWrapping)
{
    Document document = parseResource(bytesFromHex("0A 00 02 00 | 02 AB 48 00 69 00 | 04 00 FE FF | 0A 00"));
    Change change;
    change = applyUnicodeText(document, 0, u"Hello");
    EXPECT_EQ(document.indexTable, (IndexEntries{4, 0xFFFF}));
}

TEST(EditOperations, AGrowthPastWhatAnIndexCanAddressIsRefusedAndChangesNothing)
{
    Document document = parseResource(test::resourceFile({"02 AB 41 00 42 00", test::repeatedHex("11", 65400)}));
    Bytes before = savedImage(document);
    Change change;
    EXPECT_THROW(change = applyUnicodeText(document, 0, std::u16string(200, u'x')), EditRefused);
    EXPECT_TRUE(change.empty());
    EXPECT_EQ(hexOf(savedImage(document)), hexOf(before));
    EXPECT_THROW(change = applyUnicodeText(document, 0, std::u16string(256, u'x')), EditRefused);
}

TEST(EditOperations, AppliesGiveTheRangesOfLaterDataLinesBackAndDeletionOfEveryOne)
{
    Document document = parseResource(test::resourceFile({"01 02", "02 AB 48 00 69 00", "03 04", "05 06"}));
    Change change;
    change = setForcedText(document, 0, u"forced");
    change = setForcedText(document, 2, u"other");
    ASSERT_EQ(document.segmentLine(0), "001(0) forced");
    change = applyUnicodeText(document, 1, u"Hi");
    EXPECT_EQ(document.segmentLine(0), "001(0) forced");
    EXPECT_EQ(document.segmentLine(2), "003(2) 000C:000D");
    change = deleteSegment(document, 3);
    EXPECT_EQ(document.segmentLine(0), "001(0) 0004:0005");
}

// Every kind of step taken back gives the document it was made on, byte for byte and line for line.
TEST(EditOperations, UndoingEachKindOfStepGivesBackTheDocument)
{
    const Document original = parseResource(test::resourceFile({"01 02 03 04", "02 AB 48 00 69 00", "05 06 07", "08"}));
    auto check = [&](const char* what, auto&& edit) {
        Document document = original;
        Change change = edit(document);
        Bytes edited = savedImage(document);
        std::vector<std::string> editedLines = test::linesOf(document);
        EXPECT_NE(hexOf(edited) + editedLines[0], hexOf(savedImage(original)) + test::linesOf(original)[0]) << what;
        undoChange(document, change);
        EXPECT_EQ(hexOf(savedImage(document)), hexOf(savedImage(original))) << what;
        EXPECT_EQ(test::linesOf(document), test::linesOf(original)) << what;
        EXPECT_EQ(offsetsOf(document), offsetsOf(original)) << what;
        redoChange(document, change);
        EXPECT_EQ(hexOf(savedImage(document)), hexOf(edited)) << what;
        EXPECT_EQ(test::linesOf(document), editedLines) << what;
    };
    check("unicode text", [](Document& d) { return applyUnicodeText(d, 1, u"Hello"); });
    check("deleted block", [](Document& d) { return deleteSegment(d, 1); });
    check("deleted data", [](Document& d) { return deleteSegment(d, 0); });
    check("typed byte", [](Document& d) { return writeByte(d, 2, 1, 0xEE); });
    check("forced text", [](Document& d) { return setForcedText(d, 0, u"x"); });
    // A run of 2 bytes after the count byte 01 resized to 2 characters, the count recalculated.
    check("run", [](Document& d) { return forceApply(d, ForcedWrite{0, 1, 2, u"\u4142\u4344", true}); });
}

}  // namespace
}  // namespace quillet
