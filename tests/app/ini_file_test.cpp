#include "app/ini_file.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace quillet {
namespace {

std::string fileText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

class IniFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() /
                 ("quillet_ini_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
};

TEST(IniFileText, WritesSectionsAndKeysInTheOrderTheyWereAdded)
{
    IniFile ini;
    ini.writeString("MainWindow", "NormPos(1024x768)", "10,20,827,564");
    ini.writeInteger("MainWindow", "FormVersion", 0);
    ini.writeString("Other", "Key", "value");
    ini.writeInteger("MainWindow", "ShowCmd", -3);

    EXPECT_EQ(ini.text(), "[MainWindow]\nNormPos(1024x768)=10,20,827,564\nFormVersion=0\nShowCmd=-3\n"
                          "\n[Other]\nKey=value\n");
}

TEST(IniFileText, RewritingAKeyKeepsItsPlaceAndNamesMatchWithoutCase)
{
    IniFile ini = IniFile::parse("[mainwindow]\nA=1\nb=2\n");
    ini.writeString("MainWindow", "B", "3");

    EXPECT_EQ(ini.text(), "[mainwindow]\nA=1\nb=3\n");
    EXPECT_EQ(ini.readString("MAINWINDOW", "a", ""), "1");
}

TEST(IniFileText, ClearingASectionKeepsItsPlaceAndTheOtherSections)
{
    IniFile ini = IniFile::parse("[First]\nx=1\n[MainWindow]\nOld=1\n[Last]\ny=2\n");
    ini.clearSection("MainWindow");
    ini.writeString("MainWindow", "New", "2");

    EXPECT_EQ(ini.text(), "[First]\nx=1\n\n[MainWindow]\nNew=2\n\n[Last]\ny=2\n");
}

TEST(IniFileRead, ToleratesCrLfBlanksCommentsAndMalformedLines)
{
    IniFile ini = IniFile::parse("orphan=before any section\r\n"
                                 "[Broken\r\n"
                                 "lost=1\r\n"
                                 "  [ MainWindow ]  \r\n"
                                 "; a comment\r\n"
                                 "# another\r\n"
                                 "no equals sign\r\n"
                                 "=no key\r\n"
                                 "  NormPos(800x600) =  1,2,3,4  \r\n"
                                 "Empty=\r\n"
                                 "ShowCmd=3\r\n"
                                 "ShowCmd=2\r\n"
                                 "\x01\xff garbage");

    EXPECT_EQ(ini.readString("MainWindow", "NormPos(800x600)"), "1,2,3,4");
    EXPECT_EQ(ini.readString("MainWindow", "Empty"), "");
    EXPECT_EQ(ini.readInteger("MainWindow", "ShowCmd", 0), 3) << "the first of two equal keys wins";
    EXPECT_FALSE(ini.readString("MainWindow", "orphan"));
    EXPECT_FALSE(ini.readString("MainWindow", "lost"));
    EXPECT_FALSE(ini.hasSection("Broken"));
    EXPECT_EQ(ini.text(), "[MainWindow]\nNormPos(800x600)=1,2,3,4\nEmpty=\nShowCmd=3\n");
}

TEST(IniFileRead, IntegersFallBackUnlessTheWholeValueIsADecimalNumber)
{
    IniFile ini = IniFile::parse("[S]\nplain=42\nsigned=-7\nplus=+5\nblanks= 12 \ntrailing=12abc\nword=abc\nempty=\n"
                                 "hex=$10\nhuge=99999999999\ndouble=+-5\n");

    EXPECT_EQ(ini.readInteger("S", "plain", 0), 42);
    EXPECT_EQ(ini.readInteger("S", "signed", 0), -7);
    EXPECT_EQ(ini.readInteger("S", "plus", 0), 5);
    EXPECT_EQ(ini.readInteger("S", "blanks", 0), 12);
    for (const char* key : {"trailing", "word", "empty", "hex", "huge", "double", "missing"})
        EXPECT_EQ(ini.readInteger("S", key, 99), 99) << key;
    EXPECT_EQ(ini.readInteger("NoSection", "plain", -1), -1);
}

TEST_F(IniFolder, SavingCreatesTheFolderAndLoadingReadsItBack)
{
    std::filesystem::path path = folder / "deeper" / "quillet.INI";
    IniFile ini;
    ini.writeString("MainWindow", "MinMaxPos", "-1,-1,-4,-4");

    EXPECT_EQ(saveIniFile(path.string(), ini), std::nullopt);
    EXPECT_EQ(fileText(path), "[MainWindow]\nMinMaxPos=-1,-1,-4,-4\n");
    EXPECT_EQ(loadIniFile(path.string()).text(), ini.text());
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(path.parent_path()), std::filesystem::directory_iterator()),
        1)
        << "no temporary file is left behind";
}

TEST_F(IniFolder, SavingReplacesTheOldFileWhole)
{
    std::filesystem::create_directories(folder);
    std::filesystem::path path = folder / "quillet.INI";
    std::ofstream(path) << "[Old]\nlong old content that is longer than the new one\n";

    EXPECT_EQ(saveIniFile(path.string(), IniFile::parse("[New]\na=1\n")), std::nullopt);
    EXPECT_EQ(fileText(path), "[New]\na=1\n");
}

TEST_F(IniFolder, AFailedSaveReportsWhyAndLeavesTheOldFile)
{
    std::filesystem::create_directories(folder);
    std::filesystem::path blocker = folder / "not_a_folder";
    std::ofstream(blocker) << "x";

    std::optional<std::string> error = saveIniFile((blocker / "quillet.INI").string(), IniFile());
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("not_a_folder"), std::string::npos) << *error;
    EXPECT_EQ(fileText(blocker), "x");

    std::filesystem::path aFolder = folder / "a_folder.INI";
    std::filesystem::create_directories(aFolder / "inside");
    EXPECT_TRUE(saveIniFile(aFolder.string(), IniFile::parse("[S]\na=1\n")))
        << "a folder in the file's place is not replaced";
    EXPECT_TRUE(std::filesystem::is_directory(aFolder / "inside"));
}

TEST_F(IniFolder, MissingOrUnreadableFilesLoadAsEmpty)
{
    EXPECT_EQ(loadIniFile((folder / "missing.INI").string()).text(), "");
    std::filesystem::create_directories(folder);
    EXPECT_EQ(loadIniFile(folder.string()).text(), "") << "a folder is no INI file";
}

}  // namespace
}  // namespace quillet
