// What an edit loads back as: the load check after every edit, and the index rule's part in it.
#include <gtest/gtest.h>

#include <random>

#include "model/edit_operations.h"
#include "model/load_check.h"
#include "model/loader.h"
#include "model/saver.h"
#include "search/byte_search.h"
#include "support/byte_strings.h"
#include "support/document_lines.h"
#include "support/resource_builder.h"

namespace quillet {
namespace {

using test::bytesFromHex;

std::vector<std::string> describedDifferences(const Document& document, const Change& change)
{
    std::vector<std::string> described;
    auto touched = touchedSegments(change);
    if (!touched) return described;
    for (const LoadDifference& difference : loadDifferences(document, *touched))
        described.push_back(describeLoadDifference(difference));
    return described;
}

// The lines the saved document loads back as.
std::vector<std::string> reloadedLines(const Document& document)
{
    return test::linesOf(parseResource(savedImage(document)));
}

// A block "abc" with an index entry inside its text, at 0x0B, emptied: the entry goes to the
// block's start, not onto its marker, and the file loads back as shown.
TEST(LoadCheck, AnEntryInsideAnEmptiedTextGoesToTheBlocksStart)
{
    Document document = parseResource(bytesFromHex("0D 00 02 00 03 AB 61 00 62 00 63 00 55 04 00 0B 00 0D 00"));
    Change change = applyUnicodeText(document, 0, u"");
    EXPECT_EQ(document.indexTable, (IndexEntries{4, 4}));
    EXPECT_TRUE(describedDifferences(document, change).empty());
    EXPECT_EQ(reloadedLines(document), (std::vector<std::string>{"001(1) ", "002(1) 0006:0006"}));
}

TEST(LoadCheck, AnEntryInsideAGrownTextGoesToTheBlocksStart)
{
    Document document = parseResource(bytesFromHex("0D 00 02 00 03 AB 61 00 62 00 63 00 55 04 00 0B 00 0D 00"));
    Change change = applyUnicodeText(document, 0, u"abcdef");
    EXPECT_EQ(document.indexTable, (IndexEntries{4, 4}));
    EXPECT_TRUE(describedDifferences(document, change).empty());
}

TEST(LoadCheck, EmptyingTheLastTextOfTheBodyIsToldAsItsMarkerBeforeTheIndex)
{
    Document document = parseResource(test::resourceFile({"01 02", "02 AB 48 00 69 00"}));
    Change change = applyUnicodeText(document, 1, u"");
    EXPECT_EQ(describedDifferences(document, change),
              (std::vector<std::string>{"The text of segment 2 will be read as data when the file is opened again: "
                                        "its marker at 0x0007 is the last byte before the index, which is never "
                                        "read as a marker, so segment 2 will load differently."}));
    EXPECT_EQ(reloadedLines(document), (std::vector<std::string>{"001(0) 0004:0005", "002(1) 0006:0007"}));
}

TEST(LoadCheck, AMarkerByteReplacedIntoDataIsTold)
{
    Document document = parseResource(
        bytesFromHex("13 00 02 00 04 41 00 42 00 43 00 44 00 45 00 46 00 47 00 04 00 13 00"));
    NoProgress progress;
    ReplaceOutcome outcome = replaceInDocument(document, {}, bytesFromHex("41"), bytesFromHex("AB"), progress);
    EXPECT_EQ(describedDifferences(document, outcome.change),
              (std::vector<std::string>{"Byte 0xAB at 0x0005 will be read as the start of a text when the file is "
                                        "opened again, so segment 1 will load differently."}));
}

// Force unicode writes the UTF-16 of a character; « (U+00AB) and カ (U+30AB) hold a byte 0xAB.
TEST(LoadCheck, ACharacterWhoseBytesHoldAMarkerIsNamed)
{
    for (std::u16string character : {u"\u00AB", u"\u30AB"}) {
        Document document = parseResource(test::resourceFile({"02 41 00 42 00 | 33"}));
        Change change = forceApply(document, ForcedWrite{0, 1, 2, character, false});
        auto touched = touchedSegments(change);
        ASSERT_TRUE(touched);
        std::vector<LoadDifference> differences = loadDifferences(document, *touched);
        nameWritingCharacters(differences, document.segments[0].dataStart() + 1, character);
        ASSERT_EQ(differences.size(), 1u);
        std::string name = character == u"\u00AB" ? "\xC2\xAB (U+00AB)" : "\xE3\x82\xAB (U+30AB)";
        EXPECT_EQ(describeLoadDifference(differences[0]),
                  "The character " + name +
                      " writes the byte 0xAB at 0x0005, which will be read as the start of a "
                      "text when the file is opened again, so segment 1 will load differently.");
    }
}

// A data segment that starts with 0xAB right behind a text, with no entry between them: once the
// text goes, the byte before the 0xAB becomes a count byte.
TEST(LoadCheck, DeletingATextThatKeptAMarkerApartIsTold)
{
    Document document = parseResource(bytesFromHex("0D 00 02 00 | 11 01 | 01 AB 41 00 | AB 33 44 | 04 00 0D 00"));
    ASSERT_EQ(test::linesOf(document), (std::vector<std::string>{"001(0) 0004:0005", "002(0) A", "003(0) 000A:000C"}));
    Change change = deleteSegment(document, 1);
    EXPECT_EQ(describedDifferences(document, change),
              (std::vector<std::string>{"Byte 0xAB at 0x0006 will be read as the start of a text when the file is "
                                        "opened again, so segment 2 will load differently."}));
}

TEST(LoadCheck, EditsThatLoadBackAsShownAreNotTold)
{
    Document document = parseResource(test::workedExampleFile());
    EXPECT_TRUE(describedDifferences(document, applyUnicodeText(document, 1, u"Hello")).empty());
    EXPECT_TRUE(describedDifferences(document, writeByte(document, 0, 0, 0xAB)).empty());  // no count before it
    EXPECT_TRUE(describedDifferences(document, deleteSegment(document, 0)).empty());
    EXPECT_TRUE(loadDifferences(document).empty());
}

TEST(LoadCheck, ARawFileWhoseEndsBecomeEqualWillLoadWithAnIndex)
{
    Document document = parseResource(bytesFromHex("04 00 11 22 33 44 05 00"));
    ASSERT_TRUE(document.noIndex);
    Change change = writeByte(document, 0, 6, 0x04);
    EXPECT_EQ(describedDifferences(document, change),
              (std::vector<std::string>{"The file's first and last words will be equal, so it will be read as a file "
                                        "with an index when it is opened again and will load differently."}));
}

}  // namespace
}  // namespace quillet

namespace quillet {
namespace {

// Where a document's non-empty segments lie, as the check compares them.
std::vector<std::string> placesOf(const Document& document)
{
    std::vector<std::string> places;
    for (const Segment& segment : document.segments)
        if (segment.isUnicode() || !segment.data.empty())
            places.push_back(std::to_string(static_cast<int>(segment.kind)) + "@" +
                             std::to_string(segment.firstPosition()) + "+" + std::to_string(segment.size()));
    return places;
}

class RandomEdits {
public:
    explicit RandomEdits(unsigned seed) : random_(seed) {}
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    // Resources of data and texts, with entries at their starts, inside texts, at block ends and
    // past the body; markers and small counts everywhere.
    Bytes file()
    {
        std::vector<std::string> resources;
        for (int r = 1 + below(5); r > 0; --r) {
            std::string resource;
            if (below(2) == 0) resource = hexByte(below(4)) + " AB " + units(below(4));
            for (int b = below(5); b > 0; --b) resource += hexByte(below(3) == 0 ? 0xAB : below(4)) + " ";
            if (resource.empty()) resource = "00";
            resources.push_back(resource);
        }
        Bytes bytes = test::resourceFile(resources);
        // One more entry anywhere in the body or past it.
        std::uint16_t indexOffset = static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
        std::uint16_t extra = static_cast<std::uint16_t>(4 + below(indexOffset - 2));
        bytes.insert(bytes.end() - 2, {static_cast<std::uint8_t>(extra & 0xFF), static_cast<std::uint8_t>(extra >> 8)});
        return bytes;
    }

    Change edit(Document& document)
    {
        std::size_t s = static_cast<std::size_t>(below(static_cast<int>(document.segments.size())));
        const Segment& segment = document.segments[s];
        switch (below(3)) {
        case 0:
            if (segment.isUnicode()) return applyUnicodeText(document, s, text());
            return forceApply(document,
                              ForcedWrite{s, 0, segment.data.size() & ~std::size_t{1}, text(), below(2) == 0});
        case 1:
            if (segment.data.empty()) return {};
            return writeByte(document, s, static_cast<std::size_t>(below(static_cast<int>(segment.data.size()))),
                             below(2) == 0 ? 0xAB : static_cast<std::uint8_t>(below(4)));
        default: return deleteSegment(document, s);
        }
    }

private:
    std::string hexByte(int value) { return test::hexOf(Bytes{static_cast<std::uint8_t>(value)}); }
    std::string units(int count)
    {
        std::string hex;
        for (int i = 0; i < count; ++i) hex += hexByte(below(3) == 0 ? 0xAB : 0x41) + " 00 ";
        return hex;
    }
    std::u16string text()
    {
        std::u16string units;
        for (int i = below(4); i > 0; --i) units.push_back(below(3) == 0 ? u'\u00AB' : u'\u0002');
        return units;
    }

    std::mt19937 random_;
};

// The check tells exactly the edits after which the saved file loads back otherwise than shown.
TEST(LoadCheck, ToldExactlyWhenTheSavedFileLoadsBackOtherwise)
{
    RandomEdits random(2026);
    for (int run = 0; run < 3000; ++run) {
        Document document = parseResource(random.file());
        ASSERT_FALSE(document.noIndex);
        for (int step = 0; step < 4 && !document.segments.empty(); ++step) {
            Bytes image = savedImage(document);
            Change change = random.edit(document);
            auto touched = touchedSegments(change);
            if (!touched) continue;
            bool told = !loadDifferences(document, *touched).empty();
            Document reloaded = parseResource(savedImage(document));
            bool differs = placesOf(reloaded) != placesOf(document);
            ASSERT_EQ(told, differs) << "run " << run << " step " << step << ": " << test::hexOf(image) << " became "
                                     << test::hexOf(savedImage(document));
            // Once told, the document no longer loads as shown: start again from a fresh file.
            if (told) break;
        }
    }
}

}  // namespace
}  // namespace quillet
