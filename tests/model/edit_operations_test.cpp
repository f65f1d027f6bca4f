#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>

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
using Lines = std::vector<std::string>;
using Offsets = std::vector<std::uint16_t>;

Offsets offsetsOf(const Document& document)
{
    Offsets result;
    for (const Segment& segment : document.segments) result.push_back(segment.offset);
    return result;
}

// One edit operation with its arguments.
struct Edit {
    std::string what;
    std::function<Change(Document&)> run;
};

Edit splice(std::size_t s, std::size_t from, std::size_t count, const std::string& inserted)
{
    return {"splice", [=](Document& d) { return spliceSegment(d, s, from, count, bytesFromHex(inserted)); }};
}
Edit removal(std::size_t s)
{
    return {"removal", [=](Document& d) { return removeSegment(d, s); }};
}
Edit deletion(std::size_t s)
{
    return {"deletion", [=](Document& d) { return deleteSegment(d, s); }};
}
Edit text(std::size_t s, const std::u16string& units)
{
    return {"unicode text", [=](Document& d) { return applyUnicodeText(d, s, units); }};
}
Edit texts(const std::vector<TextChange>& changes)
{
    return {"texts", [=](Document& d) { return applyTexts(d, changes); }};
}
Edit force(const ForcedWrite& write)
{
    return {"force apply", [=](Document& d) { return forceApply(d, write); }};
}
Edit typedByte(std::size_t s, std::size_t index, std::uint8_t value)
{
    return {"byte write", [=](Document& d) { return writeByte(d, s, index, value); }};
}
Edit forcedText(std::size_t s, const std::u16string& units)
{
    return {"forced text", [=](Document& d) { return setForcedText(d, s, units); }};
}

// An edit on a file given in hex, and what it must leave: the index entries always, the lines
// and the saved file where a case names them. In every case the segments stay where their
// offsets say, the saved file loads back as itself, and undo and redo give each document back.
struct IndexRuleCase {
    const char* name = "";
    std::string before{};
    std::optional<Edit> first{};  // made on the file before the edit checked, to reach its state
    Edit edit{};
    IndexEntries entries{};
    std::optional<Lines> lines{};
    std::optional<std::string> file{};
};

std::ostream& operator<<(std::ostream& out, const IndexRuleCase& c)
{
    return out << c.name << " (" << c.edit.what << " on " << c.before << ")";
}

// Data 01 02 03, the block "Hi" and data 05 06 07, under the entries 4, 7 and 13.
const char* const Worked = "10 00 02 00 | 01 02 03 | 02 AB 48 00 69 00 | 05 06 07 | 04 00 07 00 0D 00 | 10 00";
// A data segment 00 02 41 00 42 00 whose run 41 00 42 00 has the count byte 02 in front of it.
const char* const CountedRun = "0F 00 02 00 | 00 02 41 00 42 00 | 05 06 07 | 08 09 | 04 00 0A 00 0D 00 | 0F 00";
// A one-byte data segment tagged with the next entry, in front of a block at that entry.
const char* const OneByteBeforeBlock = "09 00 02 00 | 77 | 01 AB 41 00 | 04 00 05 00 | 09 00";
// An untagged data segment 41 00 in front of the resources at 6 and 8.
const char* const UntaggedRun = "0A 00 02 00 | 41 00 | 11 22 | 33 44 | 06 00 08 00 | 0A 00";
// A block of 3 characters at 4 with an entry at 6, inside its text.
const char* const EntryInsideBlock = "0E 00 02 00 | 03 AB 41 00 42 00 43 00 | 07 08 | 04 00 06 00 0C 00 | 0E 00";

const IndexRuleCase IndexRuleCases[] = {
    {.name = "LongerTextMovesWhatLiesAboveTheBlock",
     .before = Worked,
     .edit = text(1, u"Hey"),
     .entries = {4, 7, 15},
     .lines = Lines{"001(0) 0004:0006", "002(1) Hey", "003(2) 000F:0011"},
     .file = "12 00 02 00 | 01 02 03 | 03 AB 48 00 65 00 79 00 | 05 06 07 | 04 00 07 00 0F 00 | 12 00"},
    {.name = "ShorterTextMovesWhatLiesAboveTheBlockDown",
     .before = "15 00 02 00 | 01 02 03 | 05 AB 41 00 42 00 43 00 44 00 45 00 | 07 08 | 04 00 07 00 13 00 | 15 00",
     .edit = text(1, u"ABC"),
     .entries = {4, 7, 15},
     .lines = Lines{"001(0) 0004:0006", "002(1) ABC", "003(2) 000F:0010"}},
    {.name = "EmptyTextKeepsCountByteAndMarker",
     .before = Worked,
     .edit = text(1, u""),
     .entries = {4, 7, 9},
     .lines = Lines{"001(0) 0004:0006", "002(1) ", "003(2) 0009:000B"},
     .file = "0C 00 02 00 | 01 02 03 | 00 AB | 05 06 07 | 04 00 07 00 09 00 | 0C 00"},
    {.name = "TextsOfSeveralBlocksMoveTheEntriesEachInTurn",
     .before = "12 00 02 00 | 02 AB 48 00 69 00 | 01 02 | 01 AB 41 00 | 03 04 | 04 00 0A 00 0C 00 10 00 | 12 00",
     .edit = texts({{1, u"Hey"}, {3, u""}}),
     .entries = {4, 12, 14, 16},
     .lines = Lines{"001(0) Hey", "002(1) 000C:000D", "003(2) ", "004(3) 0010:0011"},
     .file = "12 00 02 00 | 03 AB 48 00 65 00 79 00 | 01 02 | 00 AB | 03 04 | 04 00 0C 00 0E 00 10 00 | 12 00"},
    {.name = "EntryPastTheBodyStaysPastItInsteadOfWrapping",
     .before = "0A 00 02 00 | 02 AB 48 00 69 00 | 04 00 FE FF | 0A 00",
     .edit = text(0, u"Hello"),
     .entries = {4, 0xFFFF}},
    {.name = "EntryInsideAGrowingBlockGoesToItsStart",
     .before = EntryInsideBlock,
     .edit = text(0, u"ABCD"),
     .entries = {4, 4, 14}},
    {.name = "EntryInsideAShrinkingBlockNeverFallsBelowItsStart",
     .before = EntryInsideBlock,
     .edit = text(0, u"A"),
     .entries = {4, 4, 8}},
    {.name = "EntriesInsideARemovedBlockBecomeItsStart",
     .before = EntryInsideBlock,
     .edit = removal(0),
     .entries = {4, 4, 4},
     .lines = Lines{"002(2) 0004:0005"}},
    {.name = "RemovingTheByteOfAOneByteSegmentKeepsTheNextBlockAtItsEntry",
     .before = OneByteBeforeBlock,
     .edit = splice(0, 0, 1, ""),
     .entries = {4, 4},
     .file = "08 00 02 00 | 01 AB 41 00 | 04 00 04 00 | 08 00"},
    {.name = "ForcingAnEmptyTextOnAOneByteSegmentKeepsTheNextBlockAtItsEntry",
     .before = OneByteBeforeBlock,
     .edit = force({.segment = 0, .start = 0, .length = 1, .units = u""}),
     .entries = {4, 4},
     .file = "08 00 02 00 | 01 AB 41 00 | 04 00 04 00 | 08 00"},
    {.name = "BytesAddedToAnEmptySegmentComeBeforeWhatBeginsThere",
     .before = OneByteBeforeBlock,
     .first = splice(0, 0, 1, ""),
     .edit = splice(0, 0, 0, "77"),
     .entries = {5, 5},
     .file = "09 00 02 00 | 77 | 01 AB 41 00 | 05 00 05 00 | 09 00"},
    {.name = "GrowingARunMovesEveryEntryAboveItsFirstByte",
     .before = UntaggedRun,
     .edit = splice(0, 0, 2, "41 00 42 00"),
     .entries = {8, 10},
     .lines = Lines{"001 0004:0007", "002(0) 0008:0009", "003(1) 000A:000B"}},
    {.name = "ForcingALongerTextOnAnUntaggedSegmentMovesEveryEntryAboveTheRun",
     .before = UntaggedRun,
     .edit = force({.segment = 0, .start = 0, .length = 2, .units = u"AB"}),
     .entries = {8, 10},
     .lines = Lines{"001 AB", "002(0) 0008:0009", "003(1) 000A:000B"}},
    {.name = "BytesAddedAtASegmentsEndComeBeforeTheNextEntry",
     .before = Worked,
     .edit = splice(0, 3, 0, "AA"),
     .entries = {4, 8, 14},
     .lines = Lines{"001(0) 0004:0007", "002(1) Hi", "003(2) 000E:0010"}},
    {.name = "ForcedTextResizesTheRunAndRecountsItsCountByte",
     .before = CountedRun,
     .edit = force({.segment = 0, .start = 2, .length = 4, .units = u"ABC", .recount = true}),
     .entries = {4, 12, 15},
     .lines = Lines{"001(0) ABC", "002(1) 000C:000E", "003(2) 000F:0010"},
     .file = "11 00 02 00 | 00 03 41 00 42 00 43 00 | 05 06 07 | 08 09 | 04 00 0C 00 0F 00 | 11 00"},
    {.name = "ForcedTextWithoutRecountKeepsTheCountByte",
     .before = CountedRun,
     .edit = force({.segment = 0, .start = 2, .length = 4, .units = u"ABC"}),
     .entries = {4, 12, 15},
     .file = "11 00 02 00 | 00 02 41 00 42 00 43 00 | 05 06 07 | 08 09 | 04 00 0C 00 0F 00 | 11 00"},
    {.name = "ForcedEmptyTextRemovesTheRun",
     .before = CountedRun,
     .edit = force({.segment = 0, .start = 2, .length = 4, .units = u""}),
     .entries = {4, 6, 9},
     .lines = Lines{"001(0) ", "002(1) 0006:0008", "003(2) 0009:000A"}},
    {.name = "ForcedTextOverAnOddRunDropsItsLastByte",
     .before = "0C 00 02 00 | 41 00 42 00 43 | 05 06 07 | 04 00 09 00 | 0C 00",
     .edit = force({.segment = 0, .start = 0, .length = 5, .units = u"AB"}),
     .entries = {4, 8}},
    {.name = "ForcedTextOfTheRunsLengthMovesNothing",
     .before = "0B 00 02 00 | 41 00 42 00 | 05 06 07 | 04 00 08 00 | 0B 00",
     .edit = force({.segment = 0, .start = 0, .length = 4, .units = u"XY"}),
     .entries = {4, 8},
     .lines = Lines{"001(0) XY", "002(1) 0008:000A"},
     .file = "0B 00 02 00 | 58 00 59 00 | 05 06 07 | 04 00 08 00 | 0B 00"},
    {.name = "DeletingABlockAtAnEntryKeepsThatEntryAndLowersTheOnesAbove",
     .before = Worked,
     .edit = deletion(1),
     .entries = {4, 7, 7},
     .lines = Lines{"001(0) 0004:0006", "003(2) 0007:0009"},
     .file = "0A 00 02 00 | 01 02 03 | 05 06 07 | 04 00 07 00 07 00 | 0A 00"},
    {.name = "DeletingADataSegmentAtAnEntryKeepsThatEntry",
     .before = Worked,
     .edit = deletion(0),
     .entries = {4, 4, 10},
     .lines = Lines{"002(1) Hi", "003(2) 000A:000C"}},
    {.name = "DeletingTheLastSegmentLeavesItsEntryAtTheIndex",
     .before = Worked,
     .edit = deletion(2),
     .entries = {4, 7, 13},
     .file = "0D 00 02 00 | 01 02 03 | 02 AB 48 00 69 00 | 04 00 07 00 0D 00 | 0D 00"},
    {.name = "DeletingASegmentLeavesEveryOtherResourceWhole",
     .before = "0E 00 02 00 | 11 12 13 14 15 | 21 22 23 | 31 32 | 04 00 09 00 0C 00 | 0E 00",
     .edit = deletion(1),
     .entries = {4, 9, 9},
     .file = "0B 00 02 00 | 11 12 13 14 15 | 31 32 | 04 00 09 00 09 00 | 0B 00"},
    {.name = "DeletingTheOnlySegmentLeavesTheIndex",
     .before = "0A 00 02 00 | 02 AB 48 00 69 00 | 04 00 | 0A 00",
     .edit = deletion(0),
     .entries = {4},
     .lines = Lines{},
     .file = "04 00 02 00 | 04 00 | 04 00"},
    {.name = "DeletingTheSegmentOfARawFileLeavesAnEmptyFile",
     .before = "01 02 03",
     .edit = deletion(0),
     .entries = {},
     .file = ""},
    {.name = "TypedByteMovesNothing",
     .before = Worked,
     .edit = typedByte(2, 1, 0xEE),
     .entries = {4, 7, 13},
     .lines = Lines{"001(0) 0004:0006", "002(1) Hi", "003(2) 000D:000F"},
     .file = "10 00 02 00 | 01 02 03 | 02 AB 48 00 69 00 | 05 EE 07 | 04 00 07 00 0D 00 | 10 00"},
    {.name = "ForcedTextAloneChangesOnlyTheLine",
     .before = Worked,
     .edit = forcedText(0, u"x"),
     .entries = {4, 7, 13},
     .lines = Lines{"001(0) x", "002(1) Hi", "003(2) 000D:000F"},
     .file = Worked},
};

// What undo must give back exactly: the saved file, the lines and the offsets.
struct Shown {
    std::string file;
    Lines lines;
    Offsets offsets;
    bool operator==(const Shown&) const = default;
};

Shown shownOf(const Document& document)
{
    return {hexOf(savedImage(document)), test::linesOf(document), offsetsOf(document)};
}

// The segments follow one another from byte 4: a block's offset is its count byte, a data
// segment's the byte before its first.
void expectSegmentsInPlace(const Document& document)
{
    if (document.noIndex) return;
    std::int64_t position = 4;
    for (const Segment& segment : document.segments) {
        EXPECT_EQ(segment.offset + (segment.isUnicode() ? 0 : 1), position) << "segment " << segment.number;
        position += segment.size() + (segment.isUnicode() ? 2 : 0);
    }
}

// Compares only what a case names.
template <typename T>
void expectWhenGiven(const std::optional<T>& expected, const T& actual, const char* what)
{
    if (expected) {
        EXPECT_EQ(actual, *expected) << what;
    }
}

class IndexRule : public ::testing::TestWithParam<IndexRuleCase> {};

TEST_P(IndexRule, MovesTheEntriesAndUndoGivesTheDocumentBack)
{
    const IndexRuleCase& c = GetParam();
    Document document = parseResource(bytesFromHex(c.before));
    if (c.first) static_cast<void>(c.first->run(document));
    const Shown before = shownOf(document);
    Change change = c.edit.run(document);
    const Shown after = shownOf(document);
    ASSERT_NE(after, before) << "the edit changed nothing";

    EXPECT_EQ(document.indexTable, c.entries);
    expectWhenGiven(c.lines, after.lines, "lines");
    if (c.file) {
        EXPECT_EQ(after.file, hexOf(bytesFromHex(*c.file))) << "saved file";
    }
    EXPECT_EQ(hexOf(savedImage(parseResource(savedImage(document)))), after.file) << "the saved file loads back";
    expectSegmentsInPlace(document);

    undoChange(document, change);
    EXPECT_EQ(shownOf(document), before) << "undo";
    redoChange(document, change);
    EXPECT_EQ(shownOf(document), after) << "redo";
}

INSTANTIATE_TEST_SUITE_P(Cases, IndexRule, ::testing::ValuesIn(IndexRuleCases),
                         [](const ::testing::TestParamInfo<IndexRuleCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(EditOperations, BlockLinesShowTheExactTextWithoutUnitZero)
{
    Document document = parseResource(test::workedExampleFile());
    Change change = applyUnicodeText(document, 1, std::u16string(u"A\0\u4E00B\xD800", 5));
    EXPECT_EQ(hexOf(document.segments[1].data), "41 00 00 00 00 4E 42 00 00 D8");
    EXPECT_EQ(document.segmentLine(1), "002(1) A\xE4\xB8\x80"
                                       "B\xEF\xBF\xBD");  // A一B and U+FFFD
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

}  // namespace
}  // namespace quillet
