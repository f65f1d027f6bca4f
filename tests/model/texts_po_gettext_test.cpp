// The PO export and import against gettext's own tools, on real files. Each test is skipped
// when a tool it runs is not installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "model/texts_formats.h"
#include "support/po_texts.h"
#include "support/random_texts.h"

namespace quillet {
namespace {

const TextsFormat& poFormat = textsFormatNamed("po")->format;

namespace fs = std::filesystem;
using Units = std::u16string;

bool isInstalled(const std::string& tool)
{
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// The texts with every character outside ASCII made an "x" and every surrogate an unpaired one.
std::vector<BlockText> inAscii(std::vector<BlockText> blocks)
{
    for (BlockText& block : blocks)
        for (char16_t& unit : block.units)
            if (unit >= 0x80) unit = unit >= 0xD800 && unit <= 0xDFFF ? 0xD800 : 'x';
    return blocks;
}

Units upperCased(Units units)
{
    for (char16_t& unit : units)
        if (unit >= 'a' && unit <= 'z') unit = static_cast<char16_t>(unit - 'a' + 'A');
    return units;
}

class GettextTools : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "quillet-po-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }

    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    void write(const std::string& name, const std::string& text) const
    {
        std::ofstream(path(name), std::ios::binary) << text;
    }

    std::string read(const std::string& name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // Runs a command in the folder, in a UTF-8 locale as a translator's machine has, its error
    // output kept in errors.txt; gives the exit status.
    int runShell(const std::string& command) const
    {
        std::string line = "cd '" + folder_.string() + "' && export LC_ALL=C.UTF-8 && (" + command + ") 2>errors.txt";
        int status = std::system(line.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Runs a command and expects it to succeed without a word on its error output but the
    // warning gettext's tools give about texts with control characters such as CR.
    void runQuietly(const std::string& command) const
    {
        EXPECT_EQ(runShell(command), 0) << command << "\n" << read("errors.txt");
        std::istringstream errors(read("errors.txt"));
        for (std::string error; std::getline(errors, error);)
            EXPECT_NE(error.find("internationalized messages should not contain the"), std::string::npos)
                << command << ": " << error;
    }

    // Random blocks, exported and filled by msgen to filled.po.
    std::vector<BlockText> exportAndFill(std::mt19937& random)
    {
        std::vector<BlockText> blocks = test::randomBlocks(random, 10);
        write("texts.po", poFormat.write("random.rsc", blocks));
        runQuietly("msgen -o filled.po texts.po");
        return blocks;
    }

    fs::path folder_;
};

#define SKIP_WITHOUT(tool) \
    if (!isInstalled(tool)) GTEST_SKIP() << (tool) << " is not installed"

TEST_F(GettextTools, MsgfmtAcceptsEveryExportWithoutAWarning)
{
    SKIP_WITHOUT("msgfmt");
    std::mt19937 random(1101);
    for (int round = 0; round < 10; ++round) {
        write("texts.po", poFormat.write(round == 0 ? "name with spaces \"and quotes\".rsc" : "random.rsc",
                                         test::randomBlocks(random, 12)));
        runQuietly("msgfmt --check -o /dev/null texts.po");
    }
}

TEST_F(GettextTools, MsgenOutputImportsTheOriginalTexts)
{
    SKIP_WITHOUT("msgen");
    std::mt19937 random(1102);
    for (int round = 0; round < 10; ++round) {
        std::vector<BlockText> blocks = exportAndFill(random);
        test::expectEveryNonEmptyText(poFormat.read(read("filled.po"), blocks), blocks);
    }
}

// msgfilter also runs the header through the filter unless told to keep it; an upper-cased
// "CONTENT-TYPE" no longer names the charset, so gettext then takes the file for ASCII.
TEST_F(GettextTools, MsgfilterUpperCasedTranslationsImportUpperCased)
{
    SKIP_WITHOUT("msgen");
    SKIP_WITHOUT("msgfilter");
    std::mt19937 random(1103);
    for (int round = 0; round < 3; ++round) {
        std::vector<BlockText> blocks = exportAndFill(random);
        runQuietly("msgfilter --keep-header -i filled.po -o upper.po tr a-z A-Z");
        test::expectEveryNonEmptyText(poFormat.read(read("upper.po"), blocks), blocks, upperCased);

        std::vector<BlockText> asciiBlocks = inAscii(blocks);
        write("texts.po", poFormat.write("ascii.rsc", asciiBlocks));
        runQuietly("msgen -o filled.po texts.po && msgfilter -i filled.po -o upper.po tr a-z A-Z");
        test::expectEveryNonEmptyText(poFormat.read(read("upper.po"), asciiBlocks), asciiBlocks, upperCased);
    }
}

TEST_F(GettextTools, TextsMsgfilterLosesWithTheHeaderAreRefused)
{
    SKIP_WITHOUT("msgen");
    SKIP_WITHOUT("msgfilter");
    std::vector<BlockText> blocks = {{3, {'c', 'a', 'f', 0xE9}}};
    write("texts.po", poFormat.write("cafe.rsc", blocks));
    runQuietly("msgen -o filled.po texts.po");
    runShell("msgfilter -i filled.po -o upper.po tr a-z A-Z");
    Result<TextChanges> changes = poFormat.read(read("upper.po"), blocks);
    ASSERT_FALSE(changes) << read("upper.po");
    EXPECT_NE(changes.failure().reason.find("msgid is not the current text of segment 3"), std::string::npos);
}

TEST_F(GettextTools, MsgcatRewrappedFilesImportAsTheUnwrappedOnes)
{
    SKIP_WITHOUT("msgen");
    SKIP_WITHOUT("msgcat");
    std::mt19937 random(1104);
    for (int round = 0; round < 10; ++round) {
        std::vector<BlockText> blocks = exportAndFill(random);
        runQuietly("msgcat --width=20 -o narrow.po filled.po");
        std::string narrow = read("narrow.po");
        std::string filled = read("filled.po");
        EXPECT_GT(std::count(narrow.begin(), narrow.end(), '\n'), std::count(filled.begin(), filled.end(), '\n'));
        test::expectEveryNonEmptyText(poFormat.read(narrow, blocks), blocks);
    }
}

}  // namespace
}  // namespace quillet
