#pragma once
#include <cstdint>
#include <string>

namespace quillet {

// v in upper-case hexadecimal with leading zeros to at least `width` digits.
std::string hexUpper(std::uint64_t value, int width);

// Appends a byte as two upper-case hex digits.
void appendHexByte(std::string& out, std::uint8_t byte);

// Lenient hex value of a text: "$" goes in front unless the text holds one, and the result is
// read as a hexadecimal integer; anything that is not one gives 0.
std::uint64_t hexValueOfText(const std::string& text);

}  // namespace quillet
