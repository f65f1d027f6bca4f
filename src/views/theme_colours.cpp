#include "views/theme_colours.h"

#include <algorithm>
#include <cmath>

namespace quillet {

namespace {
constexpr std::uint32_t LightThemeLink = 0x000080;
// Navy on a dark window is unreadable: a light blue there.
constexpr std::uint32_t DarkThemeLink = 0x99CCFF;

double linearChannel(std::uint32_t value)
{
    double share = static_cast<double>(value & 0xFF) / 255.0;
    return share <= 0.04045 ? share / 12.92 : std::pow((share + 0.055) / 1.055, 2.4);
}

double relativeLuminance(std::uint32_t rgb)
{
    return 0.2126 * linearChannel(rgb >> 16) + 0.7152 * linearChannel(rgb >> 8) + 0.0722 * linearChannel(rgb);
}
}  // namespace

double contrastRatio(std::uint32_t first, std::uint32_t second)
{
    double a = relativeLuminance(first);
    double b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

Theme themeOf(std::uint32_t background, std::uint32_t text)
{
    return relativeLuminance(text) > relativeLuminance(background) ? Theme::Dark : Theme::Light;
}

std::uint32_t linkColour(Theme theme)
{
    return theme == Theme::Dark ? DarkThemeLink : LightThemeLink;
}

}  // namespace quillet
