#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

#include "model/loader.h"
#include "support/byte_strings.h"
#include "support/file_outcomes.h"
#include "support/resource_builder.h"
#include "support/run_cli.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

using test::bytesFromHex;
using test::runCli;
using test::writeTempFile;

TEST(CliList, PrintsBothListsExactly)
{
    std::string path = writeTempFile(test::workedExampleFile(), "worked.rsc");
    auto result = runCli({"list", path});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out,
              "[index]\n0004(0)\n0007(1)\n000D(2)\n[segments]\n001(0) 0004:0006\n002(1) Hi\n003(2) 000D:000F\n");
    EXPECT_EQ(result.err, "");
}

// Texts are printed from their UTF-16 units, whatever the code page: no character turns into "?".
TEST(CliList, PrintsTextsExactlyWhateverTheCodePage)
{
    // The unit 0x0416 is a Cyrillic letter, which code page 1252 lacks; then an unpaired surrogate.
    std::string path = writeTempFile(bytesFromHex("0A 00 00 00 | 02 AB 16 04 00 D8 | 04 00 | 0A 00"), "cyrillic.rsc");
    const std::string expected = "[index]\n0004(0)\n[segments]\n001(0) \xD0\x96\xEF\xBF\xBD\n";
    EXPECT_EQ(runCli({"list", "--codepage", "1251", path}).out, expected);
    EXPECT_EQ(runCli({"list", "--codepage=windows-1252", path}).out, expected);
}

TEST(CliList, JsonCarriesKindsOffsetsAndData)
{
    std::string path = writeTempFile(test::workedExampleFile(), "worked-json.rsc");
    auto result = runCli({"list", "--json", path});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_NE(result.out.find("\"no_index\": false"), std::string::npos);
    EXPECT_NE(result.out.find("\"index\": [4, 7, 13]"), std::string::npos);
    EXPECT_EQ(result.out.rfind("{\n  \"format\": 1,\n", 0), 0u) << result.out;
    EXPECT_NE(result.out.find("{\"kind\": \"unicode\", \"offset\": 7, \"size\": 4, \"line\": \"002(1) Hi\", "
                              "\"number\": 2, \"start\": 9, \"end\": 12, \"tag\": 1, \"text\": \"Hi\", "
                              "\"data\": \"48006900\"}"),
              std::string::npos)
        << result.out;
}

// A unicode block's resource in hex: count byte, marker, then the units low byte first.
std::string blockHex(const std::u16string& units)
{
    Bytes bytes{static_cast<std::uint8_t>(units.size()), 0xAB};
    for (char16_t unit : units) test::putWord(bytes, unit);
    return test::hexOf(bytes);
}

// A real JSON parser reads back every field exactly, whatever characters the texts hold.
TEST(CliList, JsonParsesBackToWhatTheDocumentHolds)
{
    struct Block {
        std::u16string units;
        std::string utf8;       // what the list line shows after the segment's number and tag, as UTF-8
        std::string text = {};  // what "text" holds, when it is not the same
    };
    const std::vector<Block> blocks = {
        {u"say \"hi\"", "say \"hi\""},
        {u"C:\\path\\", "C:\\path\\"},
        {u"\x01\x07\b\f\n\r\x1B\x1F\x7F|", "\x01\x07\b\f\n\r\x1B\x1F\x7F|"},
        {u"a\tb", "a\tb"},
        {u"Gr\u00FC\u00DFe \u0416\u0443\u043A", "Gr\u00FC\u00DFe \u0416\u0443\u043A"},
        {u"smile \U0001F600", "smile \U0001F600"},  // one UTF-16 pair, one UTF-8 sequence
        {u"lone \xD800", "lone \uFFFD"},            // an unpaired surrogate is shown as U+FFFD
        {std::u16string(u"nul \0 end", 9), "nul  end", std::string("nul \0 end", 9)},  // the line leaves it out
        {u"", ""},
    };
    std::vector<std::string> resources = {"01 02 03"};
    for (const Block& block : blocks) resources.push_back(blockHex(block.units));
    resources.push_back("05 06 07");
    const Bytes file = test::resourceFile(resources);
    const Document document = parseResource(file);
    ASSERT_EQ(document.segments.size(), blocks.size() + 2);

    auto result = runCli({"list", "--json", writeTempFile(file, "escapes.rsc")});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    nlohmann::json json;
    ASSERT_NO_THROW(json = nlohmann::json::parse(result.out)) << result.out;

    EXPECT_EQ(json.at("no_index"), document.noIndex);
    EXPECT_EQ(json.at("index").get<std::vector<std::uint16_t>>(),
              std::vector<std::uint16_t>(document.indexTable.begin(), document.indexTable.end()));
    const auto& segments = json.at("segments");
    ASSERT_EQ(segments.size(), document.segments.size());
    for (std::size_t j = 0; j < document.segments.size(); ++j) {
        SCOPED_TRACE("segment " + std::to_string(j + 1));
        const Segment& segment = document.segments[j];
        const auto& printed = segments[j];
        EXPECT_EQ(printed.at("kind"), segment.isUnicode() ? "unicode" : "data");
        EXPECT_EQ(printed.at("offset"), segment.offset);
        EXPECT_EQ(printed.at("size"), segment.size());
        EXPECT_EQ(printed.at("line"), document.segmentLine(j));
        std::string hex = test::hexOf(segment.data);
        std::erase(hex, ' ');
        EXPECT_EQ(printed.at("data"), hex);
        EXPECT_EQ(printed.at("number"), j + 1);
        EXPECT_EQ(printed.at("start"), document.dataStart(segment));
        if (segment.data.empty()) {
            EXPECT_TRUE(printed.at("end").is_null());
        } else {
            EXPECT_EQ(printed.at("end"), document.dataStart(segment) + segment.size() - 1);
        }
        EXPECT_EQ(printed.at("tag"), j);
        EXPECT_TRUE(segment.isUnicode() || printed.at("text").is_null());
    }
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        std::string line = segments[b + 1].at("line");
        EXPECT_EQ(line.substr(line.find(' ') + 1), blocks[b].utf8) << "block " << b + 1;
        // The text is exact: only an unpaired surrogate, which JSON readers refuse, is U+FFFD.
        EXPECT_EQ(segments[b + 1].at("text"), blocks[b].text.empty() ? blocks[b].utf8 : blocks[b].text) << b + 1;
    }
}

// A raw file is one segment from position 0; jq, as scripts use it, reads the JSON too.
TEST(CliList, JsonOfARawFileReadsWithJq)
{
    std::string path = writeTempFile(bytesFromHex("01 00 41 42 43"), "raw.rsc");
    if (std::system("command -v jq >/dev/null 2>&1") != 0) GTEST_SKIP() << "jq is not installed";
    test::CliResult result = test::runCliWith(test::pipedFrom("cat '" + path + "'"), {"list", "--json", "-"});
    ASSERT_EQ(result.exitStatus, 0);
    std::string jsonPath = writeTempFile(Bytes(result.out.begin(), result.out.end()), "raw.json");
    std::string command =
        "jq -c '[.format, .no_index, .index, (.segments[] | [.number, .start, .end, .tag, .text])]' '" + jsonPath +
        "' > '" + jsonPath + ".jq'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(test::fileText(jsonPath + ".jq"), "[1,true,[],[1,0,4,null,null]]\n");
}

TEST(CliList, MissingFilesAndBadUsageGiveTheirExitStatus)
{
    std::string missing = test::tempPath("not-there.rsc");
    auto result = runCli({"list", missing});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "quillet-cli: " + missing + ": File not found\n");
    EXPECT_EQ(runCli({}).exitStatus, 2);
    EXPECT_EQ(runCli({"frobnicate"}).exitStatus, 2);
    EXPECT_EQ(runCli({"list"}).exitStatus, 2);
    // A bad code page is a usage error, said as the other usage errors are.
    result = runCli({"list", "--codepage", "437", missing});
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.err, "quillet-cli: list: unknown code page '437'\nTry 'quillet-cli --help'.\n");
    EXPECT_EQ(runCli({"list", "--bogus", missing}).exitStatus, 2);
    EXPECT_EQ(runCli({"--version"}).out, "quillet-cli 1.01\n");
    EXPECT_EQ(runCli({"--help"}).exitStatus, 0);
}

// "--" ends the options: a file whose name starts with "-" can be named after it.
TEST(CliList, AnOperandAfterTwoDashesIsAFileEvenWhenItLooksLikeAnOption)
{
    test::ScratchFolder folder;
    std::string path = folder / "-odd-name.rsc";
    Bytes bytes = test::workedExampleFile();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    auto result = test::runCliIn(folder.path(), {"list", "--", "-odd-name.rsc"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.out,
              "[index]\n0004(0)\n0007(1)\n000D(2)\n[segments]\n001(0) 0004:0006\n002(1) Hi\n003(2) 000D:000F\n");
    EXPECT_EQ(result.err, "");

    // Options still count before "--"; without it the name is an unknown option.
    EXPECT_EQ(test::runCliIn(folder.path(), {"list", "--json", "--", "-odd-name.rsc"}).exitStatus, 0);
    result = test::runCliIn(folder.path(), {"list", "-odd-name.rsc"});
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_NE(result.err.find("unknown option '-odd-name.rsc'"), std::string::npos) << result.err;
    // After "--", even "--help" is a file name.
    result = test::runCliIn(folder.path(), {"list", "--", "--help"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "quillet-cli: --help: File not found\n");
}

TEST(CliCopy, WritesWhatSaveWritesAndReportsFailures)
{
    std::string in = writeTempFile(test::workedExampleFile(), "copy-in.rsc");
    std::string out = test::tempPath("copy-out.rsc");
    EXPECT_EQ(runCli({"copy", in, out}).exitStatus, 0);
    EXPECT_EQ(test::readFileBytes(out), test::workedExampleFile());

    std::string badOut = test::tempPath("no-folder/out.rsc");
    auto result = runCli({"copy", in, badOut});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "quillet-cli: " + badOut + ": File not found\n");
}

TEST(CliCopy, ToANameOfAFileWithOtherNamesWarnsAndWritesOnlyThatName)
{
    test::ScratchFolder folder;
    std::string in = writeTempFile(test::workedExampleFile(), "copy-in.rsc");
    std::string out = folder / "h1.rsc";
    test::writeText(out, "old");
    ASSERT_EQ(::link(out.c_str(), (folder / "h2.rsc").c_str()), 0);

    auto result = runCli({"copy", in, out});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, "quillet-cli: " + out + ": warning: " + out +
                              " has 2 names: saving gives this name a new file, the others keep the old content\n");
    EXPECT_EQ(test::readFileBytes(out), test::workedExampleFile());
    EXPECT_EQ(test::fileText(folder / "h2.rsc"), "old");

    result = runCli({"copy", in, out});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, "") << "one name now";
}

}  // namespace
}  // namespace quillet
