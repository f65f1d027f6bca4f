#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// v in upper-case hexadecimal with leading zeros to at least `width` digits.
std::string hexUpper(std::uint64_t value, int width);

// Appends a byte as two upper-case hex digits.
void appendHexByte(std::string& out, std::uint8_t byte);

// The program's one reader of hex digits: the value of a digit of either case, nothing for any
// other character.
std::optional<unsigned> hexDigitValue(char ch);

// The UTF-16 unit that the first four characters of `text` spell as hex digits ("\\uXXXX"); nothing
// unless there are four and all are hex digits.
std::optional<char16_t> unitOfFourHexDigits(std::string_view text);

// Lenient hex value of a text: "$" goes in front unless the text holds one, and the result is
// read as a hexadecimal integer; anything that is not one gives 0.
std::uint64_t hexValueOfText(const std::string& text);

}  // namespace quillet
