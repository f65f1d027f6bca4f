#pragma once
#include <optional>
#include <string>
#include <vector>

#include "app/ini_file.h"

namespace quillet {

// A rectangle as the placement file holds it: right and bottom are left + width and top + height.
struct PlacementRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const PlacementRect&) const = default;
};

// The show commands the file uses: 1 normal, 2 minimised, 3 maximised.
enum class ShowState { Normal = 1, Minimised = 2, Maximised = 3 };

// What the window looks like when it is saved.
struct WindowPlacement {
    int flags = 0;
    ShowState state = ShowState::Normal;
    // Minimised position x, y and maximised position x, y.
    int minX = -1;
    int minY = -1;
    int maxX = 0;
    int maxY = 0;
    // The window's rectangle in its normal state.
    PlacementRect normal;
};

// The screen the window is on, and every screen there is now.
struct ScreenSetup {
    int width = 0;
    int height = 0;
    int pixelsPerInch = 96;
    std::vector<PlacementRect> screens;
};

// The frame the window system draws around a window, in pixels on each side.
struct FrameMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The window's rectangle (without its frame), moved and where it must shrunk so that the window
// with its frame lies wholly in the work area of the screen that shows most of it (the first
// one when none does). It never shrinks below the window's minimum size; a window that cannot
// fit then starts at the area's top left corner.
PlacementRect fitOnScreen(const PlacementRect& rect, const FrameMargins& frame,
                          const std::vector<PlacementRect>& workAreas, int minimumWidth, int minimumHeight);

// What a restore applies; nothing at all when the stored version is too old.
struct RestorePlan {
    std::optional<PlacementRect> normal;
    std::optional<ShowState> state;
};

inline const char* const PlacementSection = "TFormMain";
inline constexpr int PlacementVersion = 0;

// "(1024x768)": the suffix of the keys that hold a position for one screen size.
std::string resolutionSuffix(int screenWidth, int screenHeight);

// Replaces the section's keys with the placement, in the order FormVersion, Flags, ShowCmd,
// PixelsPerInch, MinMaxPos(WxH), MinMaxPos, NormPos(WxH), NormPos, Visible. `visible` tells
// whether the save happens while the window is destroyed ("1") or on the close request ("0").
void writePlacement(IniFile& ini, const WindowPlacement& placement, const ScreenSetup& screen, bool visible);

// The four numbers of a position value: the resolution-specific key, or the plain key when that
// is missing or empty; each word that is not a number takes its default. Nothing when neither key
// holds a value.
std::optional<PlacementRect> readPosition(const IniFile& ini, const std::string& key, const ScreenSetup& screen,
                                          const PlacementRect& defaults);

// 1, 5, 9 normal; 2, 6, 7 minimised; 3 maximised; any other show command keeps the fallback.
ShowState stateOfShowCommand(int showCommand, ShowState fallback);

// The restore decision for a window now at `current`: the version check, then the stored normal
// rectangle when a position is stored, at the current pixels per inch, non-empty and at least
// partly on a current screen; then the state.
RestorePlan planRestore(const IniFile& ini, const ScreenSetup& screen, const PlacementRect& current);

}  // namespace quillet
