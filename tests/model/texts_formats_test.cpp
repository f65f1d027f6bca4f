#include "model/texts_formats.h"

#include <gtest/gtest.h>

#include <set>

namespace quillet {
namespace {

const std::vector<BlockText> Blocks = {{2, u"Hi"}, {4, u"Yo"}};

// The command line, the dialogs and the choice by name all rely on these.
TEST(TextsFormats, EveryRowHasItsOwnNameAndExtensions)
{
    std::set<std::string_view> names;
    std::set<std::string_view> extensions;
    for (const TextsFormatRow& row : textsFormats()) {
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
        EXPECT_FALSE(row.summary.empty() || row.fileKind.empty()) << row.name;
        ASSERT_FALSE(row.extensions.empty()) << row.name;
        for (std::string_view extension : row.extensions) {
            EXPECT_TRUE(extensions.insert(extension).second) << extension;
            EXPECT_EQ(extensionOf(std::string("x") + std::string(extension)), extension) << "not lower case";
        }
    }
    EXPECT_EQ(textsFormats().front().name, "tsv");
    EXPECT_EQ(textsFormatNamed("po")->name, "po");
    EXPECT_EQ(textsFormatNamed("PO"), nullptr);
}

TEST(TextsFormats, ANameChoosesByItsExtensionInEitherCase)
{
    for (const char* name : {"a.po", "dir/A.POT", "x.tsv.po", ".po"})
        EXPECT_EQ(textsFormatOfFileName(name).name, "po") << name;
    for (const char* name : {"a.txt", "a.TSV", "a", "a.po.txt", "dir.po/a", "a.", "a.pox"})
        EXPECT_EQ(textsFormatOfFileName(name).name, "tsv") << name;
    EXPECT_EQ(extensionOf("a."), "");
    EXPECT_EQ(extensionOf("dir.x/name"), "");
}

// A text no format claims is read as the default one, whose reader then says what is wrong.
TEST(TextsFormats, ATextIsReadInTheFormatItsContentShows)
{
    for (const TextsFormatRow& row : textsFormats())
        EXPECT_EQ(textsFormatOfText(row.format.write("x.rsc", Blocks)).name, row.name);
    struct Case {
        std::string text;
        std::string_view format;
    };
    const std::vector<Case> cases = {
        {"\n\n0004\tx", "tsv"},   {"", "tsv"},           {"# only a comment\n\n", "tsv"},
        {"msgidx \"\"\n", "tsv"}, {"2 no tab\n", "tsv"},
    };
    for (const Case& c : cases) EXPECT_EQ(textsFormatOfText(c.text).name, c.format) << c.text;
    const TextsFormat& tsv = textsFormatNamed("tsv")->format;
    EXPECT_TRUE(tsv.recognises("\xEF\xBB\xBF\r\n2\t"));
    for (const char* text : {"", "2 no tab\n", "\t2\n", "x2\ty\n", "\n \n2\tx\n"})
        EXPECT_FALSE(tsv.recognises(text)) << text;
}

}  // namespace
}  // namespace quillet
