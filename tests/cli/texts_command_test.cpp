#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "model/texts_formats.h"
#include "support/byte_strings.h"
#include "support/resource_builder.h"
#include "support/run_cli.h"

namespace quillet {
namespace {

using test::bytesFromHex;
using test::hexOf;

void writeText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

using test::runCli;

using test::blockHex;

class TextsCommand : public ::testing::Test {
protected:
    std::string out = test::tempPath("texts-imported.rsc");
    std::string texts = test::tempPath("texts.txt");

    void SetUp() override { std::filesystem::remove(out); }

    // Exports the file, imports the export unchanged, and expects the same bytes back.
    void expectRoundTrip(const std::string& path)
    {
        test::CliResult exported = runCli({"texts", "export", path});
        ASSERT_EQ(exported.exitStatus, 0) << exported.err;
        writeText(texts, exported.out);
        test::CliResult imported = runCli({"texts", "import", path, texts, out});
        ASSERT_EQ(imported.exitStatus, 0) << imported.err;
        EXPECT_EQ(hexOf(test::readFileBytes(out)), hexOf(test::readFileBytes(path)));
    }

    void expectImportRefused(const std::string& textsContent, const std::string& reasonPart, int line = 1)
    {
        std::string file = test::writeTempFile(test::workedExampleFile(), "texts-source.rsc");
        writeText(texts, textsContent);
        test::CliResult run = runCli({"texts", "import", file, texts, out});
        EXPECT_EQ(run.exitStatus, 1);
        std::string prefix = "quillet-cli: " + texts + ":" + std::to_string(line) + ": ";
        EXPECT_EQ(run.err.rfind(prefix, 0), 0u) << run.err;
        EXPECT_NE(run.err.find(reasonPart), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\0'), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(out));
    }
};

TEST_F(TextsCommand, ExportThenImportOfTheSampleGivesItBackByteForByte)
{
    expectRoundTrip(std::string(QUILLET_EXAMPLES_DIR) + "/sample.rsc");
}

TEST_F(TextsCommand, ExportEscapesAndJoinsSurrogatePairsAndTheImportRestoresThem)
{
    // "a\b", TAB, LF, CR, unit 0, U+1F600 as a pair, an unpaired high and low surrogate, "é".
    std::u16string units = {'a', '\\', 'b', '\t', '\n', '\r', 0, 0xD83D, 0xDE00, 0xD800, 'x', 0xDC01, 0xE9};
    Bytes file = test::resourceFile({"01 02 03", blockHex(units), "05 06", blockHex(u"Hi"), "07 08"});
    std::string path = test::writeTempFile(file, "texts-escapes.rsc");
    test::CliResult exported = runCli({"texts", "export", path});
    ASSERT_EQ(exported.exitStatus, 0) << exported.err;
    std::string escaped = "a\\\\b\\t\\n\\r\\0\xF0\x9F\x98\x80\\uD800x\\uDC01\xC3\xA9";
    EXPECT_EQ(exported.out, "2\t" + escaped + "\t" + escaped + "\n4\tHi\tHi\n");
    expectRoundTrip(path);
}

TEST_F(TextsCommand, ImportResizesTheBlockLikeTheUnicodeApply)
{
    std::string path = test::writeTempFile(test::workedExampleFile(), "texts-hi.rsc");
    writeText(texts, "2\tHey\n");
    test::CliResult run = runCli({"texts", "import", path, texts, out});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(
        hexOf(test::readFileBytes(out)),
        hexOf(bytesFromHex("12 00 02 00 | 01 02 03 | 03 AB 48 00 65 00 79 00 | 05 06 07 | 04 00 07 00 0F 00 | 12 00")));
}

TEST_F(TextsCommand, MalformedLineIsRefusedAndNothingWritten)
{
    expectImportRefused("2 Hey\n", "expected a segment number");
    expectImportRefused("2\tHey\nx\tHo\n", "expected a segment number", 2);
    expectImportRefused("2\tbad \\q escape\n", "unknown escape \\q");
    expectImportRefused("2\tends with \\\n", "lone \\");
    expectImportRefused("2\t\xFF\n", "UTF-8");
}

// Editors on other systems start a UTF-8 file with a byte order mark.
TEST_F(TextsCommand, ImportAcceptsAByteOrderMark)
{
    std::string path = test::writeTempFile(test::workedExampleFile(), "texts-bom.rsc");
    writeText(texts, "\xEF\xBB\xBF"
                     "2\tHi\tHey\r\n");
    test::CliResult run = runCli({"texts", "import", path, texts, out});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "quillet-cli: " + texts + ": 1 applied\n");
    EXPECT_EQ(
        hexOf(test::readFileBytes(out)),
        hexOf(bytesFromHex("12 00 02 00 | 01 02 03 | 03 AB 48 00 65 00 79 00 | 05 06 07 | 04 00 07 00 0F 00 | 12 00")));
}

// "The last one wins" would silently drop a translation: both lines are named instead.
TEST_F(TextsCommand, SegmentNamedTwiceIsRefusedNamingBothLines)
{
    expectImportRefused("2\tHey\n\n002\tHo\n", "segment 2 is named again (first on line 1)", 3);
}

TEST_F(TextsCommand, NumberThatIsNoBlockIsRefused)
{
    expectImportRefused("1\tHey\n", "segment 1 is not a unicode block");
    expectImportRefused("\n2\tHey\n9\tHo\n", "segment 9 is not a unicode block", 3);
    expectImportRefused("0\tHey\n", "not a unicode block");
}

TEST_F(TextsCommand, TextOver255UnitsIsRefused)
{
    expectImportRefused("2\t" + std::string(256, 'x') + "\n", "255");
    // A character outside the basic plane takes two units.
    std::string pairs;
    for (int i = 0; i < 128; ++i) pairs += "\xF0\x9F\x98\x80";
    expectImportRefused("2\t" + pairs + "\n", "256");
}

TEST_F(TextsCommand, TextOf255UnitsIsTaken)
{
    std::string path = test::writeTempFile(test::workedExampleFile(), "texts-255.rsc");
    writeText(texts, "2\t" + std::string(255, 'x') + "\n");
    test::CliResult run = runCli({"texts", "import", path, texts, out});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    Bytes saved = test::readFileBytes(out);
    ASSERT_EQ(saved.size(), 24u + 2 * 253);
    EXPECT_EQ(saved[7], 0xFF);
}

// The PO round trip as a translator makes it, through gettext's own tools when they are here.
bool gettextInstalled()
{
    return std::system("command -v msgen >/dev/null 2>&1 && command -v msgfilter >/dev/null 2>&1 && "
                       "command -v msgfmt >/dev/null 2>&1") == 0;
}

std::string shellQuoted(const std::string& text)
{
    return "'" + text + "'";
}

TEST_F(TextsCommand, PoExportIsRecognisedByContentAndFormatOptionsAgree)
{
    std::string sample = std::string(QUILLET_EXAMPLES_DIR) + "/sample.rsc";
    test::CliResult po = runCli({"texts", "export", "--po", sample});
    ASSERT_EQ(po.exitStatus, 0) << po.err;
    EXPECT_EQ(runCli({"texts", "export", "--format", "po", sample}).out, po.out);
    EXPECT_EQ(runCli({"texts", "export", "--format=tsv", sample}).out, runCli({"texts", "export", sample}).out);
    EXPECT_NE(po.out.find("msgctxt"), std::string::npos);
    EXPECT_NE(po.out.find("Content-Type: text/plain; charset=UTF-8"), std::string::npos);
    test::CliResult unknown = runCli({"texts", "export", "--format", "xml", sample});
    EXPECT_EQ(unknown.exitStatus, 2);
    EXPECT_EQ(unknown.err, "quillet-cli: texts: unknown format 'xml', expected tsv or po\nTry 'quillet-cli --help'.\n");
    test::CliResult disagree = runCli({"texts", "export", "--po", "--format", "tsv", sample});
    EXPECT_EQ(disagree.exitStatus, 2);
    EXPECT_EQ(disagree.err, "quillet-cli: texts: --po and --format tsv disagree\nTry 'quillet-cli --help'.\n");
    EXPECT_EQ(runCli({"texts", "export", "--po", "--format", "po", sample}).out, po.out);
    // The help has a line for each format.
    std::string help = runCli({"--help"}).out;
    for (const TextsFormatRow& row : textsFormats())
        EXPECT_NE(help.find("\n" + std::string(20, ' ') + std::string(row.name) + " "), std::string::npos) << row.name;
    // An untranslated PO file, named like a text file, imports as PO and changes nothing.
    writeText(texts, po.out);
    test::CliResult imported = runCli({"texts", "import", sample, texts, out});
    ASSERT_EQ(imported.exitStatus, 0) << imported.err;
    EXPECT_EQ(hexOf(test::readFileBytes(out)), hexOf(test::readFileBytes(sample)));
}

TEST_F(TextsCommand, PoFilledByMsgenGivesTheFileBackAndMsgfilterChangesEveryText)
{
    if (!gettextInstalled()) GTEST_SKIP() << "gettext's tools are not installed";
    std::string sample = std::string(QUILLET_EXAMPLES_DIR) + "/sample.rsc";
    std::string po = test::tempPath("sample.po");
    writeText(po, runCli({"texts", "export", "--po", sample}).out);
    ASSERT_EQ(std::system(("msgfmt --check -o /dev/null " + shellQuoted(po)).c_str()), 0);

    std::string filled = test::tempPath("filled.po");
    ASSERT_EQ(std::system(("msgen " + shellQuoted(po) + " > " + shellQuoted(filled)).c_str()), 0);
    test::CliResult same = runCli({"texts", "import", sample, filled, out});
    ASSERT_EQ(same.exitStatus, 0) << same.err;
    EXPECT_EQ(hexOf(test::readFileBytes(out)), hexOf(test::readFileBytes(sample)));

    std::string upper = test::tempPath("upper.po");
    ASSERT_EQ(
        std::system(("msgfilter --keep-header -i " + shellQuoted(filled) + " -o " + shellQuoted(upper) + " tr a-z A-Z")
                        .c_str()),
        0);
    test::CliResult changed = runCli({"texts", "import", sample, upper, out});
    ASSERT_EQ(changed.exitStatus, 0) << changed.err;
    test::CliResult listed = runCli({"list", out});
    EXPECT_NE(listed.out.find("HELLO, WORLD"), std::string::npos) << listed.out;
    // Every offset follows: the result loads and exports the upper-cased texts.
    test::CliResult again = runCli({"texts", "export", out});
    EXPECT_EQ(again.exitStatus, 0);
    for (const char* name : {"sample.po", "filled.po", "upper.po"}) std::filesystem::remove(test::tempPath(name));
}

}  // namespace
}  // namespace quillet
