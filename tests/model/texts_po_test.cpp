#include <gtest/gtest.h>

#include "model/texts_formats.h"
#include "support/po_texts.h"
#include "support/random_texts.h"

namespace quillet {
namespace {

const TextsFormat& poFormat = textsFormatNamed("po")->format;
const TextsFormat& tsvFormat = textsFormatNamed("tsv")->format;

using test::filledPo;
using Units = std::u16string;
using namespace std::string_literals;

Units unitsOf(std::string_view ascii)
{
    return Units(ascii.begin(), ascii.end());
}

// Segments 2 ("Hi"), 4 ("Yo") and 6 ("a", unit 0, "b") are the file's unicode blocks.
const std::vector<BlockText> Blocks = {{2, unitsOf("Hi")}, {4, unitsOf("Yo")}, {6, {'a', 0, 'b'}}};

const std::string Header = "msgid \"\"\n"
                           "msgstr \"\"\n"
                           "\"Content-Type: text/plain; charset=UTF-8\\n\"\n";  // lines 1 to 3

TextsRead readOk(std::string_view po, const std::vector<BlockText>& blocks = Blocks)
{
    Result<TextsRead> read = poFormat.read(po, blocks);
    if (!read) {
        ADD_FAILURE() << po << "\n" << read.failure().line << ": " << read.failure().reason;
        return {};
    }
    return *read;
}

void expectError(std::string_view po, std::size_t line, const std::string& reason,
                 const std::vector<BlockText>& blocks = Blocks)
{
    Result<TextsRead> read = poFormat.read(po, blocks);
    ASSERT_FALSE(read) << po;
    EXPECT_EQ(read.failure().line, line) << po;
    EXPECT_EQ(read.failure().reason, reason) << po;
}

// The segment each change is for, with its new text in ASCII.
std::vector<std::string> changesOf(const TextsRead& read)
{
    std::vector<std::string> changes;
    for (const TextChange& change : read.changes)
        changes.push_back(std::to_string(change.segmentNumber) + ":" +
                          std::string(change.units.begin(), change.units.end()));
    return changes;
}

TEST(TextsPo, ExportHasAHeaderAndOneEntryPerBlockWithAText)
{
    std::vector<BlockText> blocks = {{2, unitsOf("Hi"), 0x10},
                                     {4, unitsOf("a\nb\"\\"), 0x16},
                                     {5, {'x', 0, '\\', 0xD800}, 0x20},
                                     {7, {}, 0x2A},
                                     {9, unitsOf("Hi"), 0x1234}};
    std::string po = poFormat.write("sample.rsc", blocks);
    std::string header = po.substr(0, po.find("\n\n") + 2);
    EXPECT_NE(header.find("\"Project-Id-Version: sample.rsc\\n\"\n"), std::string::npos) << header;
    EXPECT_NE(header.find("\"Content-Type: text/plain; charset=UTF-8\\n\"\n"), std::string::npos) << header;
    EXPECT_NE(header.find("\"Content-Transfer-Encoding: 8bit\\n\"\n"), std::string::npos) << header;
    EXPECT_EQ(po.substr(header.size()), "#. segment 2, at file position 0010\n#: sample.rsc:2\n"
                                        "msgctxt \"occurrence 1 of 2\"\nmsgid \"Hi\"\nmsgstr \"\"\n\n"
                                        "#. segment 4, at file position 0016\n#: sample.rsc:4\n"
                                        "msgid \"\"\n\"a\\n\"\n\"b\\\"\\\\\"\nmsgstr \"\"\n\n"
                                        "#. This text holds characters a PO file cannot carry, written in a notation:\n"
                                        "#. \\0 stands for a character 0, \\uXXXX for one UTF-16 unit, \\\\ for one\n"
                                        "#. backslash. Keep them so in the translation.\n"
                                        "#. segment 5, at file position 0020\n#: sample.rsc:5\n"
                                        "msgid \"x\\\\0\\\\\\\\\\\\uD800\"\nmsgstr \"\"\n\n"
                                        "#. segment 9, at file position 1234\n#: sample.rsc:9\n"
                                        "msgctxt \"occurrence 2 of 2\"\nmsgid \"Hi\"\nmsgstr \"\"\n");
}

TEST(TextsPo, FileLabelIsKeptToOneLineOfValidUtf8)
{
    std::string po = poFormat.write("a\"b\nc\xFF.rsc", {{1, unitsOf("x")}});
    EXPECT_NE(po.find("\"Project-Id-Version: a\\\"b?c\xEF\xBF\xBD.rsc\\n\"\n"), std::string::npos) << po;
    EXPECT_NE(po.find("#: a\"b?c\xEF\xBF\xBD.rsc:1\n"), std::string::npos) << po;
}

TEST(TextsPo, UntranslatedExportChangesNothingAndFilledExportGivesEveryTextBack)
{
    std::mt19937 random(7031);
    for (int round = 0; round < 20; ++round) {
        std::vector<BlockText> blocks = test::randomBlocks(random, 12);
        std::string po = poFormat.write("random.rsc", blocks);
        Result<TextsRead> untranslated = poFormat.read(po, blocks);
        ASSERT_TRUE(untranslated) << untranslated.failure().line << ": " << untranslated.failure().reason;
        EXPECT_TRUE(untranslated->changes.empty());
        std::size_t withText = 0;
        for (const BlockText& block : blocks) withText += block.units.empty() ? 0 : 1;
        EXPECT_EQ(summaryOf(untranslated->counts),
                  "0 applied, " + std::to_string(withText) + " untranslated, 0 fuzzy, 0 not found");
        test::expectEveryNonEmptyText(poFormat.read(filledPo(po), blocks), blocks);
    }
}

// "Open" the verb and "Open" the adjective are two entries, each keeping its translation when
// other resources come in before them or go.
TEST(TextsPo, IdenticalTextsAreToldApartByWhichOccurrenceTheyAre)
{
    std::vector<BlockText> first = {{2, unitsOf("Open")}, {4, unitsOf("Save")}, {6, unitsOf("Open")}};
    std::string po = filledPo(poFormat.write("v1.rsc", first));
    std::size_t verb = po.find("msgstr \"Open\"");
    po.replace(verb, 13, "msgstr \"Oeffnen\"");
    std::size_t adjective = po.find("msgstr \"Open\"");
    po.replace(adjective, 13, "msgstr \"Offen\"");
    EXPECT_EQ(changesOf(readOk(po, first)), (std::vector<std::string>{"2:Oeffnen", "4:Save", "6:Offen"}));

    std::vector<BlockText> next = {{1, unitsOf("New")}, {3, unitsOf("Open")}, {5, unitsOf("Open")}};
    TextsRead read = readOk(po, next);
    EXPECT_EQ(changesOf(read), (std::vector<std::string>{"3:Oeffnen", "5:Offen"}));
    EXPECT_EQ(summaryOf(read.counts), "2 applied, 0 untranslated, 0 fuzzy, 1 not found");
    ASSERT_TRUE(read.counts.firstNotFound);
    EXPECT_EQ(read.counts.firstNotFound->reason, "msgid is not a text of the resource file");

    // With a third copy, or with one copy fewer, the contexts name no block: nothing lands on
    // another copy of the text.
    std::vector<BlockText> three = {
        {1, unitsOf("Open")}, {2, unitsOf("Open")}, {4, unitsOf("Save")}, {6, unitsOf("Open")}};
    EXPECT_EQ(changesOf(readOk(po, three)), (std::vector<std::string>{"4:Save"}));
    std::vector<BlockText> one = {{2, unitsOf("Open")}, {4, unitsOf("Save")}};
    read = readOk(po, one);
    EXPECT_EQ(changesOf(read), (std::vector<std::string>{"4:Save"}));
    EXPECT_EQ(read.counts.firstNotFound->reason,
              "msgctxt names no text of the resource file with this msgid (it stands 1 time)");
    // A text that stands more than once is never named without its context.
    read = readOk(Header + "msgid \"Open\"\nmsgstr \"Auf\"\n\nmsgid \"Save\"\nmsgstr \"Sichern\"\n", first);
    EXPECT_EQ(changesOf(read), (std::vector<std::string>{"4:Sichern"}));
    EXPECT_EQ(read.counts.firstNotFound->line, 4u);
}

// Texts that differ can have the same msgid: a unit 0 in the notation and the characters "\0".
TEST(TextsPo, TextsOfTheSameMsgidAreToldApartToo)
{
    std::vector<BlockText> blocks = {{2, {'a', 0}}, {4, unitsOf("a\\0")}};
    std::string po = poFormat.write("x.rsc", blocks);
    EXPECT_NE(po.find("msgctxt \"occurrence 1 of 2\"\nmsgid \"a\\\\0\""), std::string::npos) << po;
    EXPECT_NE(po.find("msgctxt \"occurrence 2 of 2\"\nmsgid \"a\\\\0\""), std::string::npos) << po;
    test::expectEveryNonEmptyText(poFormat.read(filledPo(po), blocks), blocks);
}

TEST(TextsPo, RecognisedByContent)
{
    EXPECT_TRUE(poFormat.recognises(poFormat.write("x.rsc", Blocks)));
    EXPECT_TRUE(poFormat.recognises("\xEF\xBB\xBF\r\n# comment\r\n\r\n  msgctxt \"2\"\r\n"));
    EXPECT_TRUE(poFormat.recognises("#, fuzzy\nmsgid\"\"\n"));
    EXPECT_FALSE(poFormat.recognises(tsvFormat.write("", Blocks)));
    EXPECT_FALSE(poFormat.recognises(""));
    EXPECT_FALSE(poFormat.recognises("# only a comment\n\n"));
    EXPECT_FALSE(poFormat.recognises("msgidx \"\"\n"));
}

TEST(TextsPo, ReadsFilesAsTheToolsWriteThem)
{
    std::string po = "\xEF\xBB\xBF# translator comment\r\n"
                     "msgid \"\"\r\n"
                     "msgstr \"\"\r\n"
                     "\"Content-Type: text/plain; charset=utf-8\\n\"\r\n"
                     "\r\n"
                     "#. extracted\r\n"
                     "#: x.rsc:2\r\n"
                     "#, no-wrap\r\n"
                     "#| msgctxt \"2\"\r\n"
                     "#| msgid \"Ho\"\r\n"
                     "msgid \"\"\r\n"
                     "\"H\"\r\n"
                     "  \"i\"\r\n"
                     "msgstr \"\" \"Hel\" \"lo \"\r\n"
                     "\r\n"
                     "\"\\a\\b\\f\\v\\r\\t\\\"\\\\\\101\\x42\\303\\251\\xc3\\xa9\"\r\n"
                     "#~ msgctxt \"99\"\r\n"
                     "#~ msgid \"obsolete, of no block\"\r\n"
                     "#~ msgstr \"x\"\r\n";
    TextsRead read = readOk(po);
    ASSERT_EQ(read.changes.size(), 1u);
    EXPECT_EQ(read.changes[0].segmentNumber, 2u);
    Units expected = unitsOf("Hello \a\b\f\v\r\t\"\\AB");
    expected.insert(expected.end(), {0xE9, 0xE9});
    EXPECT_EQ(read.changes[0].units, expected);

    // A keyword's first string may stand on the next line, and lines may end in a CR alone.
    EXPECT_EQ(readOk(Header + "msgid\n\"Hi\"\nmsgstr\n\"Hey\"\n").changes.size(), 1u);
    EXPECT_EQ(readOk("msgid \"Hi\"\rmsgstr \"Hey\"\r\rmsgid \"Yo\"\rmsgstr \"\"\r").changes.size(), 1u);
}

TEST(TextsPo, FuzzyObsoleteAndUntranslatedEntriesLeaveTheirBlocksAndAreCounted)
{
    std::string po = Header + "\n#, fuzzy, c-format\nmsgid \"Hi\"\nmsgstr \"Guess\"\n"
                              "\n#, fuzzy\n#~ msgid \"Yo\"\n#~ msgstr \"Old\"\n"
                              "\n#~| msgid \"Yo\"\n#~ msgid \"Gone\"\n#~ msgstr \"Old\"\n"
                              "\n# the fuzzy flag above belongs to the obsolete entry\nmsgid \"Yo\"\nmsgstr \"New\"\n"
                              "\nmsgid \"a\\\\0b\"\nmsgstr \"\"\n";
    TextsRead read = readOk(po);
    EXPECT_EQ(changesOf(read), (std::vector<std::string>{"4:New"}));
    EXPECT_EQ(summaryOf(read.counts), "1 applied, 1 untranslated, 1 fuzzy, 0 not found");
}

// An empty text has no entry: its msgid would be the header's. An entry of an empty msgid,
// whatever its context, is never applied: after msgmerge it may hold the header.
TEST(TextsPo, EmptyTextsAreLeftOutAndTheHeaderIsNeverApplied)
{
    std::vector<BlockText> blocks = {{2, {}}, {4, unitsOf("Yo")}};
    std::string po = poFormat.write("x.rsc", blocks);
    EXPECT_EQ(po.find("x.rsc:2"), std::string::npos) << po;
    std::string header = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n";
    TextsRead read = readOk(
        header + "\nmsgctxt \"2\"\nmsgid \"\"\nmsgstr \"Content-Type: x\\n\"\n" +
            "\nmsgctxt \"occurrence 1 of 1\"\nmsgid \"\"\nmsgstr \"x\"\n\nmsgid \"Yo\"\nmsgstr \"\"\n",
        blocks);
    EXPECT_TRUE(read.changes.empty());
    EXPECT_EQ(summaryOf(read.counts), "0 applied, 1 untranslated, 0 fuzzy, 0 not found");
}

TEST(TextsPo, NotationIsReadInEitherCaseAndOnlyWhereTheBlockNeedsIt)
{
    std::string po = Header + "msgid \"a\\\\0b\"\nmsgstr \"\\\\U00E9\\\\0\\\\\\\\\\\\udc00\"\n" +
                     "msgid \"Hi\"\nmsgstr \"C:\\\\temp\\\\0\\\\uD800\"\n";
    TextsRead read = readOk(po);
    ASSERT_EQ(read.changes.size(), 2u);
    EXPECT_EQ(read.changes[0].units, (Units{0xE9, 0, '\\', 0xDC00}));
    EXPECT_EQ(read.changes[1].units, unitsOf("C:\\temp\\0\\uD800"));
}

TEST(TextsPo, TextMustFitInABlock)
{
    auto entry = [](const std::string& text) { return Header + "msgid \"Hi\"\nmsgstr \"" + text + "\"\n"; };
    EXPECT_EQ(readOk(entry(std::string(253, 'x') + "\xF0\x9F\x98\x80")).changes[0].units.size(), 255u);
    expectError(entry(std::string(254, 'x') + "\xF0\x9F\x98\x80"), 5,
                "the text has 256 UTF-16 units, a unicode block holds at most 255");
}

TEST(TextsPo, EntriesOfTextsTheFileDoesNotHaveAreCountedNotApplied)
{
    std::string good = Header + "msgid \"Hi\"\nmsgstr \"Hey\"\n";  // lines 4 and 5
    TextsRead read = readOk(good + "\nmsgid \"Ho\"\nmsgstr \"He\"\n\n#, fuzzy\nmsgid \"Yo!\"\nmsgstr \"\"\n");
    EXPECT_EQ(changesOf(read), (std::vector<std::string>{"2:Hey"}));
    EXPECT_EQ(summaryOf(read.counts), "1 applied, 0 untranslated, 0 fuzzy, 2 not found");
    ASSERT_TRUE(read.counts.firstNotFound);
    EXPECT_EQ(read.counts.firstNotFound->line, 7u);
    EXPECT_EQ(read.counts.firstNotFound->reason, "msgid is not a text of the resource file");
    // A PO of another file: none of its entries is a text of this one.
    expectError(Header + "msgid \"Ho\"\nmsgstr \"He\"\n\nmsgid \"Yo!\"\nmsgstr \"\"\n", 0,
                "none of its 2 entries is a text of the resource file: it was made for another file");
    expectError(Header, 0, "the file holds no texts");
    expectError("", 0, "the file holds no texts");
}

TEST(TextsPo, AnEntryNamingABlockTwiceOrAsAPluralStopsTheImport)
{
    std::string good = Header + "msgid \"Hi\"\nmsgstr \"Hey\"\n";  // lines 4 and 5
    expectError(good + "msgid \"Hi\"\nmsgstr \"\"\n", 6, "segment 2 is named again (first on line 4)");
    expectError(good + "msgid \"Yo\"\nmsgid_plural \"Yos\"\nmsgstr[0] \"a\"\nmsgstr[1] \"b\"\n", 6,
                "segment 4 is named by a plural entry, which cannot hold its text");
}

// The export once named each block by its segment number in msgctxt. Such a PO made from this
// very file still imports by number; one of another version only by texts that stand once.
TEST(TextsPo, AnOlderExportWithSegmentNumbersImportsWhereTheNumbersStillHold)
{
    std::vector<BlockText> blocks = {{2, unitsOf("Open")}, {4, unitsOf("Save")}, {6, unitsOf("Open")}};
    std::string old = Header + "msgctxt \"2\"\nmsgid \"Open\"\nmsgstr \"Oeffnen\"\n" +
                      "msgctxt \"4\"\nmsgid \"Save\"\nmsgstr \"Sichern\"\n" +
                      "msgctxt \"6\"\nmsgid \"Open\"\nmsgstr \"Offen\"\n" +
                      "msgctxt \"7\"\nmsgid \"\"\nmsgstr \"\"\n";  // an empty text, left alone
    EXPECT_EQ(changesOf(readOk(old, blocks)), (std::vector<std::string>{"2:Oeffnen", "4:Sichern", "6:Offen"}));

    std::vector<BlockText> moved = {
        {1, unitsOf("New")}, {3, unitsOf("Open")}, {5, unitsOf("Save")}, {7, unitsOf("Open")}};
    TextsRead read = readOk(old, moved);
    EXPECT_EQ(changesOf(read), (std::vector<std::string>{"5:Sichern"}));
    EXPECT_EQ(summaryOf(read.counts), "1 applied, 0 untranslated, 0 fuzzy, 2 not found");
    EXPECT_EQ(read.counts.firstNotFound->line, 4u);
    EXPECT_EQ(read.counts.firstNotFound->reason,
              "msgid stands 2 times in the resource file, and msgctxt \"2\", a segment number of an older export for "
              "another version of it, does not tell which");
}

TEST(TextsPo, BadTranslationsAreRefusedAtTheirMsgstr)
{
    auto entry = [](const std::string& msgstr) {
        return Header + "msgid \"a\\\\0b\"\nmsgstr \"x\"\n\nmsgid \"Hi\"\n" + msgstr;
    };
    expectError(entry("msgstr \"\\xff\"\n"), 8, "the text is not valid UTF-8");
    expectError(Header + "msgid \"a\\\\0b\"\nmsgstr \"C:\\\\temp\"\n", 5,
                "unknown notation \\t (in this text \\\\ stands for one backslash)");
    expectError(Header + "msgid \"a\\\\0b\"\nmsgstr \"\\\\uD8\"\n", 5,
                "\\u needs four hex digits (in this text \\\\ stands for one backslash)");
    expectError(Header + "msgid \"a\\\\0b\"\nmsgstr \"x\\\\\"\n", 5,
                "the text ends with a lone \\ (in this text \\\\ stands for one backslash)");
}

TEST(TextsPo, SyntaxErrorsNameTheirLine)
{
    std::string entry = "msgctxt \"2\"\nmsgid \"Hi\"\n";  // lines 4 and 5
    expectError(Header + entry + "msgstr \"open\n", 6, "the string has no closing quote");
    expectError(Header + entry + "msgstr \"a\\q\"\n", 6, "unknown escape \\q");
    expectError(Header + entry + "msgstr \"a\\000\"\n", 6, "a PO string cannot hold a character 0");
    expectError(Header + entry + "msgstr \"a\\x\"\n", 6, "\\x needs hex digits");
    expectError(Header + entry + "msgstr \"a\\x100\"\n", 6, "the escape's value does not fit in a byte");
    expectError(Header + entry + "msgstr \"a\\400\"\n", 6, "the escape's value does not fit in a byte");
    expectError(Header + entry + "msgstr \"a\" # note\n", 6, "unexpected text after msgstr");
    expectError(Header + entry + "msgstr\n\nmsgctxt \"4\"\n", 6, "msgstr needs a quoted string");
    expectError(Header + entry + "# comment\nmsgstr \"x\"\n", 5, "the entry has no msgstr");
    expectError(Header + entry + "msgstr \"x\"\nmsgstr \"y\"\n", 7, "the entry has a second msgstr");
    expectError(Header + entry, 5, "the entry has no msgstr");
    expectError(Header + "msgctxt \"2\"\n\n", 4, "msgctxt must be followed by msgid and msgstr");
    expectError(Header + "msgctxt\nmsgid \"Hi\"\nmsgstr \"x\"\n", 4, "msgctxt needs a quoted string");
    expectError(Header + entry + "msgstr[x] \"x\"\n", 6,
                "expected msgctxt, msgid, msgstr, a quoted string or a comment");
    expectError(Header + "msgctxt \"2\"\nmsgctxt \"4\"\n", 4, "msgctxt must be followed by msgid and msgstr");
    expectError(Header + "msgstr \"x\"\n", 4, "the entry has a second msgstr");
    expectError(Header + entry + "msgstr[0] \"x\"\n", 6, "msgstr[N] belongs to an entry with msgid_plural");
    expectError(Header + "# note\n\"stray\"\n", 5, "a quoted string outside an entry");
    expectError(Header + "domain \"other\"\n", 4, "expected msgctxt, msgid, msgstr, a quoted string or a comment");
    expectError(Header + "#~ msgid \"a\"\nmsgstr \"b\"\n", 5, "msgstr must follow msgid");
    expectError("\xFF\xFE#\0"
                "\n\0"s,
                1, "UTF-16 is not supported, save the file as UTF-8");
}

TEST(TextsPo, HeaderMustNameUtf8OrNoCharset)
{
    std::string entry = "msgid \"Hi\"\nmsgstr \"Hey\"\n";
    expectError(
        "msgid \"\"\nmsgstr \"\"\n\"MIME-Version: 1.0\\n\"\n\"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n" +
            entry,
        2, "the PO file is in ISO-8859-1; only UTF-8 is read (msgconv --to-code=UTF-8 converts it)");
    for (std::string charset : {"UTF-8", "utf8", "CHARSET", "US-ASCII"}) {
        std::string header = "msgid \"\"\nmsgstr \"CONTENT-TYPE: TEXT/PLAIN; CHARSET=" + charset + "\\n\"\n";
        EXPECT_EQ(readOk(header + entry).changes.size(), 1u) << charset;
    }
    EXPECT_EQ(readOk(entry).changes.size(), 1u);
}

}  // namespace
}  // namespace quillet
