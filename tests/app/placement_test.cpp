#include "app/placement.h"

#include <gtest/gtest.h>

#include "app/config_path.h"

namespace quillet {
namespace {

ScreenSetup screen1024()
{
    ScreenSetup screen;
    screen.width = 1024;
    screen.height = 768;
    screen.pixelsPerInch = 96;
    screen.screens = {{0, 0, 1024, 768}};
    return screen;
}

// The section every placement file uses.
const std::string Header = "[" + std::string(PlacementSection) + "]\n";

const PlacementRect Centred{103, 112, 920, 656};

IniFile iniOf(const std::string& keys)
{
    return IniFile::parse(Header + keys);
}

TEST(PlacementWrite, WritesEveryKeyInOrderWithTheScreenSizeSuffix)
{
    WindowPlacement placement;
    placement.state = ShowState::Maximised;
    placement.minX = -1;
    placement.minY = -1;
    placement.maxX = -4;
    placement.maxY = -4;
    placement.normal = {10, 20, 827, 564};
    IniFile ini;
    writePlacement(ini, placement, screen1024(), false);

    EXPECT_EQ(ini.text(), Header + "FormVersion=0\n"
                                   "Flags=0\n"
                                   "ShowCmd=3\n"
                                   "PixelsPerInch=96\n"
                                   "MinMaxPos(1024x768)=-1,-1,-4,-4\n"
                                   "MinMaxPos=-1,-1,-4,-4\n"
                                   "NormPos(1024x768)=10,20,827,564\n"
                                   "NormPos=10,20,827,564\n"
                                   "Visible=0\n");
}

TEST(PlacementWrite, ReplacesAnOldSectionInOrderAndKeepsOtherSizesOut)
{
    IniFile ini = IniFile::parse("[Other]\nkeep=1\n" + Header + "Visible=1\nNormPos(640x480)=1,1,2,2\n");
    ScreenSetup screen = screen1024();
    screen.width = 1920;
    screen.height = 1080;
    screen.pixelsPerInch = 120;
    writePlacement(ini, WindowPlacement{}, screen, true);

    EXPECT_EQ(ini.text(), "[Other]\nkeep=1\n\n" + Header +
                              "FormVersion=0\nFlags=0\nShowCmd=1\nPixelsPerInch=120\n"
                              "MinMaxPos(1920x1080)=-1,-1,0,0\nMinMaxPos=-1,-1,0,0\n"
                              "NormPos(1920x1080)=0,0,0,0\nNormPos=0,0,0,0\nVisible=1\n");
}

TEST(PlacementWrite, WhatIsWrittenRestoresTheSameRectangleAndState)
{
    WindowPlacement placement;
    placement.state = ShowState::Minimised;
    placement.normal = {10, 20, 827, 564};
    IniFile ini;
    writePlacement(ini, placement, screen1024(), false);

    RestorePlan plan = planRestore(IniFile::parse(ini.text()), screen1024(), Centred);
    EXPECT_EQ(plan.normal, placement.normal);
    EXPECT_EQ(plan.state, ShowState::Minimised);
}

TEST(PlacementRead, TheScreenSizeKeyComesBeforeThePlainKey)
{
    ScreenSetup screen = screen1024();
    PlacementRect defaults{1, 2, 3, 4};

    EXPECT_EQ(readPosition(iniOf("NormPos=5,5,50,50\nNormPos(1024x768)=6,6,60,60\n"), "NormPos", screen, defaults),
              (PlacementRect{6, 6, 60, 60}));
    EXPECT_EQ(readPosition(iniOf("NormPos(1024x768)=\nNormPos=5,5,50,50\n"), "NormPos", screen, defaults),
              (PlacementRect{5, 5, 50, 50}))
        << "an empty specific key falls through to the plain key";
    EXPECT_EQ(readPosition(iniOf("NormPos(800x600)=6,6,60,60\nNormPos=5,5,50,50\n"), "NormPos", screen, defaults),
              (PlacementRect{5, 5, 50, 50}));
    EXPECT_EQ(readPosition(iniOf("NormPos=\n"), "NormPos", screen, defaults), std::nullopt);
}

TEST(PlacementRead, WordsThatAreNotNumbersTakeTheirDefaults)
{
    ScreenSetup screen = screen1024();
    PlacementRect defaults{1, 2, 3, 4};
    auto read = [&](const std::string& value) {
        return readPosition(iniOf("NormPos=" + value + "\n"), "NormPos", screen, defaults);
    };

    EXPECT_EQ(read("x,20,y,564"), (PlacementRect{1, 20, 3, 564}));
    EXPECT_EQ(read("10,20"), (PlacementRect{10, 20, 3, 4}));
    EXPECT_EQ(read("10,,20,,30,40,50"), (PlacementRect{10, 20, 30, 40})) << "empty words are skipped";
    EXPECT_EQ(read("garbage"), defaults);
}

TEST(PlacementRestore, AppliesTheStoredRectangleAndState)
{
    RestorePlan plan = planRestore(iniOf("FormVersion=0\nShowCmd=1\nPixelsPerInch=96\nNormPos=10,20,827,564\n"),
                                   screen1024(), Centred);
    EXPECT_EQ(plan.normal, (PlacementRect{10, 20, 827, 564}));
    EXPECT_EQ(plan.state, ShowState::Normal);
}

TEST(PlacementRestore, AnOlderVersionRestoresNothing)
{
    RestorePlan plan = planRestore(iniOf("FormVersion=-1\nShowCmd=3\nNormPos=10,20,827,564\n"), screen1024(), Centred);
    EXPECT_EQ(plan.normal, std::nullopt);
    EXPECT_EQ(plan.state, std::nullopt);

    plan = planRestore(iniOf("FormVersion=7\nShowCmd=3\nNormPos=10,20,827,564\n"), screen1024(), Centred);
    EXPECT_TRUE(plan.normal) << "a newer version is read";
}

TEST(PlacementRestore, PositionsFromAnotherPixelsPerInchAreIgnoredButTheStateIsNot)
{
    RestorePlan plan = planRestore(iniOf("ShowCmd=3\nPixelsPerInch=120\nNormPos=10,20,827,564\n"), screen1024(),
                                   Centred);
    EXPECT_EQ(plan.normal, std::nullopt);
    EXPECT_EQ(plan.state, ShowState::Maximised);

    plan = planRestore(iniOf("PixelsPerInch=many\nNormPos=10,20,827,564\n"), screen1024(), Centred);
    EXPECT_TRUE(plan.normal) << "an unreadable value counts as the current pixels per inch";
}

TEST(PlacementRestore, OnlyKeysOfAnotherScreenSizeAreIgnored)
{
    RestorePlan plan = planRestore(iniOf("NormPos(800x600)=10,20,827,564\nMinMaxPos(800x600)=-1,-1,-4,-4\n"),
                                   screen1024(), Centred);
    EXPECT_EQ(plan.normal, std::nullopt);
    EXPECT_EQ(plan.state, ShowState::Normal);
}

TEST(PlacementRestore, NoFileOrNoSectionMeansAWindowAtItsDesignPlace)
{
    for (const char* text : {"", "[Other]\nNormPos=10,20,827,564\n", "\x01\x02 not an ini \xff"}) {
        RestorePlan plan = planRestore(IniFile::parse(text), screen1024(), Centred);
        EXPECT_EQ(plan.normal, std::nullopt);
        EXPECT_EQ(plan.state, ShowState::Normal);
    }
}

TEST(PlacementRestore, NonNumericWordsOfTheRectangleKeepTheCurrentOnes)
{
    RestorePlan plan = planRestore(iniOf("NormPos=10,abc,827,\n"), screen1024(), Centred);
    EXPECT_EQ(plan.normal, (PlacementRect{10, Centred.top, 827, Centred.bottom}));

    plan = planRestore(iniOf("MinMaxPos=-1,-1,-4,-4\n"), screen1024(), Centred);
    EXPECT_EQ(plan.normal, Centred) << "a stored MinMaxPos alone keeps the current rectangle";
}

TEST(PlacementRestore, EmptyOrInvertedRectanglesAreNotApplied)
{
    EXPECT_EQ(planRestore(iniOf("NormPos=500,20,400,564\n"), screen1024(), Centred).normal, std::nullopt);
    EXPECT_EQ(planRestore(iniOf("NormPos=10,564,827,20\n"), screen1024(), Centred).normal, std::nullopt);
    EXPECT_EQ(planRestore(iniOf("NormPos=10,20,10,564\n"), screen1024(), Centred).normal, std::nullopt);
}

TEST(PlacementRestore, APositionOffEveryScreenIsNotApplied)
{
    ScreenSetup two = screen1024();
    two.screens.push_back({1024, 0, 2944, 1080});

    EXPECT_EQ(planRestore(iniOf("NormPos=3000,20,3817,564\n"), two, Centred).normal, std::nullopt);
    EXPECT_EQ(planRestore(iniOf("NormPos=-900,-700,-10,-10\n"), two, Centred).normal, std::nullopt);
    EXPECT_EQ(planRestore(iniOf("NormPos=2944,0,3500,500\n"), two, Centred).normal, std::nullopt)
        << "touching a screen's edge is not being on it";
    EXPECT_EQ(planRestore(iniOf("NormPos=1500,100,2300,600\n"), two, Centred).normal,
              (PlacementRect{1500, 100, 2300, 600}));
    EXPECT_EQ(planRestore(iniOf("NormPos=-800,-500,20,30\n"), two, Centred).normal, (PlacementRect{-800, -500, 20, 30}))
        << "a window partly on a screen stays where it was";
    ScreenSetup none = screen1024();
    none.screens.clear();
    EXPECT_EQ(planRestore(iniOf("NormPos=10,20,827,564\n"), none, Centred).normal, std::nullopt);
}

TEST(PlacementRestore, ShowCommandsMapToStates)
{
    for (int command : {1, 5, 9})
        EXPECT_EQ(stateOfShowCommand(command, ShowState::Maximised), ShowState::Normal) << command;
    for (int command : {2, 6, 7})
        EXPECT_EQ(stateOfShowCommand(command, ShowState::Normal), ShowState::Minimised) << command;
    EXPECT_EQ(stateOfShowCommand(3, ShowState::Normal), ShowState::Maximised);
    for (int command : {0, 4, 8, 10, -1})
        EXPECT_EQ(stateOfShowCommand(command, ShowState::Minimised), ShowState::Minimised) << command;

    EXPECT_EQ(planRestore(iniOf("ShowCmd=6\n"), screen1024(), Centred).state, ShowState::Minimised);
    EXPECT_EQ(planRestore(iniOf("ShowCmd=4\n"), screen1024(), Centred).state, ShowState::Normal);
    EXPECT_EQ(planRestore(iniOf("ShowCmd=max\n"), screen1024(), Centred).state, ShowState::Normal);
}

// The window with its frame lies wholly on the screen that shows it: a placement stored at
// another scale, or a design size larger than a screen at scale 2, is moved and shrunk onto it.
TEST(PlacementFit, AWindowTooLargeOrPartlyOffItsScreenIsMovedAndShrunkOntoIt)
{
    const FrameMargins frame{1, 11, 1, 1};
    const std::vector<PlacementRect> logical800x500{{0, 0, 800, 500}};
    // The design size centred on a screen of 800 x 500 logical pixels: the first run at scale 2.
    EXPECT_EQ(fitOnScreen({-8, -22, 809, 522}, frame, logical800x500, 600, 400), (PlacementRect{1, 11, 799, 499}));
    // Stored at scale 1 on 1600 x 1000, shown at 1.5 (1066 x 666): kept where it fits, moved up.
    EXPECT_EQ(fitOnScreen({391, 228, 1208, 772}, frame, {{0, 0, 1066, 666}}, 600, 400),
              (PlacementRect{248, 121, 1065, 665}));
    // Off the left and top edges.
    EXPECT_EQ(fitOnScreen({-50, -5, 350, 295}, frame, logical800x500, 100, 100), (PlacementRect{1, 11, 401, 311}));
    // A window that lies on its screen stays exactly where it is.
    EXPECT_EQ(fitOnScreen({10, 20, 310, 220}, frame, logical800x500, 100, 100), (PlacementRect{10, 20, 310, 220}));
}

TEST(PlacementFit, TheScreenShowingMostOfTheWindowTakesItAndTheMinimumSizeStays)
{
    const FrameMargins frame{2, 20, 2, 2};
    const std::vector<PlacementRect> two{{0, 0, 1024, 768}, {1024, 100, 1824, 700}};
    EXPECT_EQ(fitOnScreen({1500, 200, 2000, 500}, frame, two, 100, 100), (PlacementRect{1322, 200, 1822, 500}))
        << "the second screen shows most of it";
    EXPECT_EQ(fitOnScreen({900, 650, 1200, 900}, frame, two, 100, 100), (PlacementRect{722, 516, 1022, 766}))
        << "the first screen shows most of it";
    EXPECT_EQ(fitOnScreen({5000, 5000, 5300, 5100}, frame, two, 100, 100), (PlacementRect{722, 666, 1022, 766}))
        << "on no screen: the first";
    EXPECT_EQ(fitOnScreen({0, 0, 900, 900}, frame, {{0, 0, 640, 480}}, 700, 500), (PlacementRect{2, 20, 702, 520}))
        << "never below the minimum size: at the top left corner";
    EXPECT_EQ(fitOnScreen({1, 2, 3, 4}, frame, {}, 700, 500), (PlacementRect{1, 2, 3, 4})) << "no screen at all";
}

TEST(PlacementFile, IsTheProgramNameWithIniInTheConfigFolder)
{
    EXPECT_EQ(iniFileName("/usr/bin/quillet"), "quillet.INI");
    EXPECT_EQ(iniFileName("/opt/q/quillet.exe"), "quillet.INI");
    EXPECT_EQ(iniFileName("/opt/my.tools/quillet-dev"), "quillet-dev.INI");
    EXPECT_EQ(configFolder("/xdg", "/home/u"), "/xdg/quillet");
    EXPECT_EQ(configFolder(nullptr, "/home/u"), "/home/u/.config/quillet");
    EXPECT_EQ(configFolder("", "/home/u"), "/home/u/.config/quillet");
    EXPECT_EQ(configFolder("relative/path", "/home/u"), "/home/u/.config/quillet");
    EXPECT_EQ(configFolder(nullptr, nullptr), "");
}

}  // namespace
}  // namespace quillet
