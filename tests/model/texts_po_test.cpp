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

Units unitsOf(std::string_view ascii)
{
    return Units(ascii.begin(), ascii.end());
}

// Segments 2 ("Hi"), 4 ("Yo") and 6 ("a", unit 0, "b") are the file's unicode blocks.
const std::vector<BlockText> Blocks = {{2, unitsOf("Hi")}, {4, unitsOf("Yo")}, {6, {'a', 0, 'b'}}};

const std::string Header = "msgid \"\"\n"
                           "msgstr \"\"\n"
                           "\"Content-Type: text/plain; charset=UTF-8\\n\"\n";  // lines 1 to 3

TextChanges readOk(std::string_view po)
{
    Result<TextChanges> changes = poFormat.read(po, Blocks);
    if (!changes) {
        ADD_FAILURE() << po << "\n" << changes.failure().line << ": " << changes.failure().reason;
        return {};
    }
    return *changes;
}

void expectError(std::string_view po, std::size_t line, const std::string& reason)
{
    Result<TextChanges> changes = poFormat.read(po, Blocks);
    ASSERT_FALSE(changes) << po;
    EXPECT_EQ(changes.failure().line, line) << po;
    EXPECT_EQ(changes.failure().reason, reason) << po;
}

TEST(TextsPo, ExportHasAHeaderAndOneEntryPerBlock)
{
    std::vector<BlockText> blocks = {
        {2, unitsOf("Hi")}, {4, unitsOf("a\nb\"\\")}, {5, {'x', 0, '\\', 0xD800}}, {7, {}}};
    std::string po = poFormat.write("sample.rsc", blocks);
    std::string header = po.substr(0, po.find("\n\n") + 2);
    EXPECT_NE(header.find("\"Project-Id-Version: sample.rsc\\n\"\n"), std::string::npos) << header;
    EXPECT_NE(header.find("\"Content-Type: text/plain; charset=UTF-8\\n\"\n"), std::string::npos) << header;
    EXPECT_NE(header.find("\"Content-Transfer-Encoding: 8bit\\n\"\n"), std::string::npos) << header;
    EXPECT_EQ(po.substr(header.size()),
              "#: sample.rsc:2\nmsgctxt \"2\"\nmsgid \"Hi\"\nmsgstr \"\"\n\n"
              "#: sample.rsc:4\nmsgctxt \"4\"\nmsgid \"\"\n\"a\\n\"\n\"b\\\"\\\\\"\nmsgstr \"\"\n\n"
              "#. This text holds characters a PO file cannot carry, written in a notation:\n"
              "#. \\0 stands for a character 0, \\uXXXX for one UTF-16 unit, \\\\ for one\n"
              "#. backslash. Keep them so in the translation.\n"
              "#: sample.rsc:5\nmsgctxt \"5\"\nmsgid \"x\\\\0\\\\\\\\\\\\uD800\"\nmsgstr \"\"\n\n"
              "#: sample.rsc:7\nmsgctxt \"7\"\nmsgid \"\"\nmsgstr \"\"\n");
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
        Result<TextChanges> untranslated = poFormat.read(po, blocks);
        ASSERT_TRUE(untranslated) << untranslated.failure().line << ": " << untranslated.failure().reason;
        EXPECT_TRUE(untranslated->empty());
        test::expectEveryNonEmptyText(poFormat.read(filledPo(po), blocks), blocks);
    }
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
                     "msgctxt \"2\"\r\n"
                     "msgid \"\"\r\n"
                     "\"H\"\r\n"
                     "  \"i\"\r\n"
                     "msgstr \"\" \"Hel\" \"lo \"\r\n"
                     "\r\n"
                     "\"\\a\\b\\f\\v\\r\\t\\\"\\\\\\101\\x42\\303\\251\\xc3\\xa9\"\r\n"
                     "#~ msgctxt \"99\"\r\n"
                     "#~ msgid \"obsolete, of no block\"\r\n"
                     "#~ msgstr \"x\"\r\n";
    TextChanges changes = readOk(po);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].segmentNumber, 2u);
    Units expected = unitsOf("Hello \a\b\f\v\r\t\"\\AB");
    expected.insert(expected.end(), {0xE9, 0xE9});
    EXPECT_EQ(changes[0].units, expected);

    // A keyword's first string may stand on the next line.
    EXPECT_EQ(readOk(Header + "msgctxt\n\"2\"\nmsgid\n\"Hi\"\nmsgstr\n\"Hey\"\n").size(), 1u);
}

TEST(TextsPo, FuzzyObsoleteAndUntranslatedEntriesLeaveTheirBlocks)
{
    std::string po =
        Header + "\n#, fuzzy, c-format\nmsgctxt \"2\"\nmsgid \"Hi\"\nmsgstr \"Guess\"\n"
                 "\n#, fuzzy\n#~ msgctxt \"4\"\n#~ msgid \"Yo\"\n#~ msgstr \"Old\"\n"
                 "\n#~| msgid \"Yo\"\n#~ msgctxt \"6\"\n#~ msgid \"Gone\"\n#~ msgstr \"Old\"\n"
                 "\n# the fuzzy flag above belongs to the obsolete entry\nmsgctxt \"4\"\nmsgid \"Yo\"\nmsgstr \"New\"\n"
                 "\nmsgctxt \"6\"\nmsgid \"a\\\\0b\"\nmsgstr \"\"\n";
    TextChanges changes = readOk(po);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].segmentNumber, 4u);
    EXPECT_EQ(changes[0].units, unitsOf("New"));
}

TEST(TextsPo, NotationIsReadInEitherCaseAndOnlyWhereTheBlockNeedsIt)
{
    std::string po = Header + "msgctxt \"6\"\nmsgid \"a\\\\0b\"\nmsgstr \"\\\\U00E9\\\\0\\\\\\\\\\\\udc00\"\n" +
                     "msgctxt \"2\"\nmsgid \"Hi\"\nmsgstr \"C:\\\\temp\\\\0\\\\uD800\"\n";
    TextChanges changes = readOk(po);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].units, (Units{0xE9, 0, '\\', 0xDC00}));
    EXPECT_EQ(changes[1].units, unitsOf("C:\\temp\\0\\uD800"));
}

TEST(TextsPo, TextMustFitInABlock)
{
    auto entry = [](const std::string& text) {
        return Header + "msgctxt \"2\"\nmsgid \"Hi\"\nmsgstr \"" + text + "\"\n";
    };
    EXPECT_EQ(readOk(entry(std::string(253, 'x') + "\xF0\x9F\x98\x80"))[0].units.size(), 255u);
    expectError(entry(std::string(254, 'x') + "\xF0\x9F\x98\x80"), 6,
                "the text has 256 UTF-16 units, a unicode block holds at most 255");
}

TEST(TextsPo, EntriesOfAnotherVersionOfTheFileStopTheImport)
{
    std::string good = Header + "msgctxt \"2\"\nmsgid \"Hi\"\nmsgstr \"Hey\"\n";  // lines 4 to 6
    expectError(good + "msgctxt \"3\"\nmsgid \"Data\"\nmsgstr \"\"\n", 7, "segment 3 is not a unicode block");
    expectError(good + "msgctxt \"12345678901\"\nmsgid \"x\"\nmsgstr \"\"\n", 7,
                "segment 12345678901 is not a unicode block");
    expectError(good + "msgctxt \"menu\"\nmsgid \"x\"\nmsgstr \"\"\n", 7,
                "msgctxt does not name a segment by its number");
    expectError(good + "\nmsgid \"Yo\"\nmsgstr \"\"\n", 8, "the entry has no msgctxt, so it names no unicode block");
    expectError(good + "#, fuzzy\nmsgctxt \"4\"\nmsgid \"Yo!\"\nmsgstr \"\"\n", 9,
                "msgid is not the current text of segment 4: the PO file belongs to another version of the file");
    expectError(good + "msgctxt \"6\"\nmsgid \"a\\\\u0000b\\\\q\"\nmsgstr \"\"\n", 8,
                "msgid is not the current text of segment 6: the PO file belongs to another version of the file");
    expectError(good + "msgctxt \"002\"\nmsgid \"Hi\"\nmsgstr \"\"\n", 7, "segment 2 is named again (first on line 4)");
    expectError(good + "msgctxt \"4\"\nmsgid \"Yo\"\nmsgid_plural \"Yos\"\nmsgstr[0] \"a\"\nmsgstr[1] \"b\"\n", 7,
                "segment 4 is named by a plural entry, which cannot hold its text");
}

TEST(TextsPo, BadTranslationsAreRefusedAtTheirMsgstr)
{
    auto entry = [](const std::string& msgstr) {
        return Header + "msgctxt \"6\"\nmsgid \"a\\\\0b\"\nmsgstr \"x\"\n\nmsgctxt \"2\"\nmsgid \"Hi\"\n" + msgstr;
    };
    expectError(entry("msgstr \"\\xff\"\n"), 10, "the text is not valid UTF-8");
    expectError(Header + "msgctxt \"6\"\nmsgid \"a\\\\0b\"\nmsgstr \"C:\\\\temp\"\n", 6,
                "unknown notation \\t (in this text \\\\ stands for one backslash)");
    expectError(Header + "msgctxt \"6\"\nmsgid \"a\\\\0b\"\nmsgstr \"\\\\uD8\"\n", 6,
                "\\u needs four hex digits (in this text \\\\ stands for one backslash)");
    expectError(Header + "msgctxt \"6\"\nmsgid \"a\\\\0b\"\nmsgstr \"x\\\\\"\n", 6,
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
}

TEST(TextsPo, HeaderMustNameUtf8OrNoCharset)
{
    std::string entry = "msgctxt \"2\"\nmsgid \"Hi\"\nmsgstr \"Hey\"\n";
    expectError(
        "msgid \"\"\nmsgstr \"\"\n\"MIME-Version: 1.0\\n\"\n\"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n" +
            entry,
        2, "the PO file is in ISO-8859-1; only UTF-8 is read (msgconv --to-code=UTF-8 converts it)");
    for (std::string charset : {"UTF-8", "utf8", "CHARSET", "US-ASCII"}) {
        std::string header = "msgid \"\"\nmsgstr \"CONTENT-TYPE: TEXT/PLAIN; CHARSET=" + charset + "\\n\"\n";
        EXPECT_EQ(readOk(header + entry).size(), 1u) << charset;
    }
    EXPECT_EQ(readOk(entry).size(), 1u);
}

}  // namespace
}  // namespace quillet
