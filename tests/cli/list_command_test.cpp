#include <gtest/gtest.h>

#include "support/byte_strings.h"
#include "support/resource_builder.h"
#include "support/run_cli.h"

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
    EXPECT_NE(result.out.find("{\"kind\": \"unicode\", \"offset\": 7, \"size\": 4, \"line\": \"002(1) Hi\", \"data\": \"48006900\"}"),
              std::string::npos);
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
    EXPECT_EQ(runCli({"list", "--codepage", "437", missing}).exitStatus, 2);
    EXPECT_EQ(runCli({"list", "--bogus", missing}).exitStatus, 2);
    EXPECT_EQ(runCli({"--version"}).out, "quillet-cli 1.01\n");
    EXPECT_EQ(runCli({"--help"}).exitStatus, 0);
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

}  // namespace
}  // namespace quillet
