#pragma once
#include <cstdint>

namespace quillet {

// Colours as 0xRRGGBB.
enum class Theme { Light, Dark };

// The WCAG contrast ratio of two colours, from 1 (the same lightness) to 21 (black on white).
double contrastRatio(std::uint32_t first, std::uint32_t second);
// A theme is dark when its text is lighter than its background.
Theme themeOf(std::uint32_t background, std::uint32_t text);
// The About box's link on the theme's window background.
std::uint32_t linkColour(Theme theme);

}  // namespace quillet
