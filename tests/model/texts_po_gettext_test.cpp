// The PO export and import against gettext's own tools, on real files. Each test is skipped
// when a tool it runs is not installed.
#include <gtest/gtest.h>

#include <algorithm>

#include "model/texts_formats.h"
#include "support/gettext_folder.h"
#include "support/po_texts.h"
#include "support/random_texts.h"

namespace quillet {
namespace {

const TextsFormat& poFormat = textsFormatNamed("po")->format;

using Units = std::u16string;

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

class GettextTools : public test::GettextFolder {
protected:
    // Random blocks, exported and filled by msgen to filled.po.
    std::vector<BlockText> exportAndFill(std::mt19937& random)
    {
        std::vector<BlockText> blocks = test::randomBlocks(random, 10);
        write("texts.po", poFormat.write("random.rsc", blocks));
        runQuietly("msgen -o filled.po texts.po");
        return blocks;
    }
};

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
    Result<TextsRead> changes = poFormat.read(read("upper.po"), blocks);
    ASSERT_FALSE(changes) << read("upper.po");
    EXPECT_EQ(changes.failure().reason, "its entry is not a text of the resource file: it was made for another file");
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
