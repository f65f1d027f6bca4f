#include "app/placement.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace quillet {

namespace {

std::string fourNumbers(int a, int b, int c, int d)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d,%d,%d,%d", a, b, c, d);
    return text;
}

// The comma-separated words of a value; runs of commas count as one separator.
std::vector<std::string> wordsOf(const std::string& value)
{
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t comma = value.find(',', start);
        if (comma == std::string::npos) comma = value.size();
        if (comma > start) words.push_back(value.substr(start, comma - start));
        start = comma + 1;
    }
    return words;
}

bool overlaps(const PlacementRect& a, const PlacementRect& b)
{
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

bool onSomeScreen(const PlacementRect& rect, const std::vector<PlacementRect>& screens)
{
    return std::any_of(screens.begin(), screens.end(),
                       [&](const PlacementRect& screen) { return overlaps(rect, screen); });
}

long long overlapArea(const PlacementRect& a, const PlacementRect& b)
{
    long long width = std::min(a.right, b.right) - std::max(a.left, b.left);
    long long height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

// The start of a span of `length` plus the frame's `before` and `after`, moved into [low, high).
int fitSpan(int start, int length, int before, int after, int low, int high)
{
    if (start + length + after > high) start = high - after - length;
    if (start - before < low) start = low + before;
    return start;
}

}  // namespace

PlacementRect fitOnScreen(const PlacementRect& rect, const FrameMargins& frame,
                          const std::vector<PlacementRect>& workAreas, int minimumWidth, int minimumHeight)
{
    if (workAreas.empty()) return rect;
    PlacementRect framed{rect.left - frame.left, rect.top - frame.top, rect.right + frame.right,
                         rect.bottom + frame.bottom};
    const PlacementRect* area = &workAreas.front();
    for (const PlacementRect& candidate : workAreas)
        if (overlapArea(framed, candidate) > overlapArea(framed, *area)) area = &candidate;
    int width = std::max(minimumWidth, std::min(rect.width(), area->width() - frame.left - frame.right));
    int height = std::max(minimumHeight, std::min(rect.height(), area->height() - frame.top - frame.bottom));
    int left = fitSpan(rect.left, width, frame.left, frame.right, area->left, area->right);
    int top = fitSpan(rect.top, height, frame.top, frame.bottom, area->top, area->bottom);
    return PlacementRect{left, top, left + width, top + height};
}

std::string resolutionSuffix(int screenWidth, int screenHeight)
{
    return "(" + std::to_string(screenWidth) + "x" + std::to_string(screenHeight) + ")";
}

void writePlacement(IniFile& ini, const WindowPlacement& placement, const ScreenSetup& screen, bool visible)
{
    const std::string suffix = resolutionSuffix(screen.width, screen.height);
    const PlacementRect& normal = placement.normal;
    std::string minMax = fourNumbers(placement.minX, placement.minY, placement.maxX, placement.maxY);
    std::string norm = fourNumbers(normal.left, normal.top, normal.right, normal.bottom);

    ini.clearSection(PlacementSection);
    ini.writeInteger(PlacementSection, "FormVersion", PlacementVersion);
    ini.writeInteger(PlacementSection, "Flags", placement.flags);
    ini.writeInteger(PlacementSection, "ShowCmd", static_cast<int>(placement.state));
    ini.writeInteger(PlacementSection, "PixelsPerInch", screen.pixelsPerInch);
    ini.writeString(PlacementSection, "MinMaxPos" + suffix, minMax);
    ini.writeString(PlacementSection, "MinMaxPos", minMax);
    ini.writeString(PlacementSection, "NormPos" + suffix, norm);
    ini.writeString(PlacementSection, "NormPos", norm);
    ini.writeString(PlacementSection, "Visible", visible ? "1" : "0");
}

std::optional<PlacementRect> readPosition(const IniFile& ini, const std::string& key, const ScreenSetup& screen,
                                          const PlacementRect& defaults)
{
    std::string value = ini.readString(PlacementSection, key + resolutionSuffix(screen.width, screen.height), "");
    if (value.empty()) value = ini.readString(PlacementSection, key, "");
    if (value.empty()) return std::nullopt;

    std::vector<std::string> words = wordsOf(value);
    std::array<int, 4> numbers{defaults.left, defaults.top, defaults.right, defaults.bottom};
    for (std::size_t n = 0; n < numbers.size() && n < words.size(); ++n)
        numbers[n] = parseInteger(words[n]).value_or(numbers[n]);
    return PlacementRect{numbers[0], numbers[1], numbers[2], numbers[3]};
}

ShowState stateOfShowCommand(int showCommand, ShowState fallback)
{
    switch (showCommand) {
    case 1:
    case 5:
    case 9: return ShowState::Normal;
    case 2:
    case 6:
    case 7: return ShowState::Minimised;
    case 3: return ShowState::Maximised;
    default: return fallback;
    }
}

RestorePlan planRestore(const IniFile& ini, const ScreenSetup& screen, const PlacementRect& current)
{
    RestorePlan plan;
    if (ini.readInteger(PlacementSection, "FormVersion", 0) < PlacementVersion) return plan;

    std::optional<PlacementRect> minMax = readPosition(ini, "MinMaxPos", screen, PlacementRect{});
    std::optional<PlacementRect> normal = readPosition(ini, "NormPos", screen, current);
    int storedPixelsPerInch = ini.readInteger(PlacementSection, "PixelsPerInch", screen.pixelsPerInch);
    PlacementRect rect = normal.value_or(current);
    bool stored = minMax || normal;
    bool usable = rect.left < rect.right && rect.top < rect.bottom && onSomeScreen(rect, screen.screens);
    if (stored && storedPixelsPerInch == screen.pixelsPerInch && usable) plan.normal = rect;

    int showCommand = ini.readInteger(PlacementSection, "ShowCmd", 0);
    plan.state = stateOfShowCommand(showCommand, ShowState::Normal);
    return plan;
}

}  // namespace quillet
