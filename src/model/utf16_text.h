#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// A unicode block's text as one line of UTF-8 for translators: surrogate pairs joined, "\\",
// TAB, LF, CR and NUL escaped as \\ \t \n \r \0, an unpaired surrogate written as \uXXXX.
std::string escapedUtf8FromUnits(const std::vector<std::uint16_t>& units);

// The reverse; nothing when the text is not valid UTF-8 or holds an unknown escape. `error`
// then says why.
std::optional<std::vector<std::uint16_t>> unitsFromEscapedUtf8(std::string_view text, std::string& error);

}  // namespace quillet
