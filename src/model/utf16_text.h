#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

bool isHighSurrogate(std::uint16_t unit);
bool isLowSurrogate(std::uint16_t unit);

// One code point as UTF-8, and as one or two UTF-16 units.
void appendUtf8(std::string& out, std::uint32_t codePoint);
void appendUtf16(std::vector<std::uint16_t>& units, std::uint32_t codePoint);

// The code point of the UTF-8 sequence at `at`, which it then passes; nothing for a malformed,
// overlong or truncated sequence or an encoded surrogate (`at` then stays).
std::optional<std::uint32_t> decodeUtf8(std::string_view text, std::size_t& at);

// A unicode block's text as one line of UTF-8 for translators: surrogate pairs joined, "\\",
// TAB, LF, CR and NUL escaped as \\ \t \n \r \0, an unpaired surrogate written as \uXXXX.
std::string escapedUtf8FromUnits(const std::vector<std::uint16_t>& units);

// The reverse; nothing when the text is not valid UTF-8 or holds an unknown escape. `error`
// then says why.
std::optional<std::vector<std::uint16_t>> unitsFromEscapedUtf8(std::string_view text, std::string& error);

}  // namespace quillet
