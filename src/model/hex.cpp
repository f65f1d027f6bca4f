#include "model/hex.h"

namespace quillet {

namespace {
constexpr char HexDigits[] = "0123456789ABCDEF";
}  // namespace

std::optional<unsigned> hexDigitValue(char ch)
{
    if (ch >= '0' && ch <= '9') return static_cast<unsigned>(ch - '0');
    if (ch >= 'A' && ch <= 'F') return static_cast<unsigned>(ch - 'A' + 10);
    if (ch >= 'a' && ch <= 'f') return static_cast<unsigned>(ch - 'a' + 10);
    return std::nullopt;
}

std::optional<char16_t> unitOfFourHexDigits(std::string_view text)
{
    if (text.size() < 4) return std::nullopt;
    unsigned unit = 0;
    for (char ch : text.substr(0, 4)) {
        std::optional<unsigned> digit = hexDigitValue(ch);
        if (!digit) return std::nullopt;
        unit = (unit << 4) | *digit;
    }
    return static_cast<char16_t>(unit);
}

std::string hexUpper(std::uint64_t value, int width)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), HexDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
    return digits;
}

void appendHexByte(std::string& out, std::uint8_t byte)
{
    out.push_back(HexDigits[byte >> 4]);
    out.push_back(HexDigits[byte & 0xF]);
}

std::uint64_t hexValueOfText(const std::string& text)
{
    std::string number = text.find('$') == std::string::npos ? "$" + text : text;
    // The only accepted shape: one "$" first, then at least one hex digit.
    if (number.size() < 2 || number[0] != '$') return 0;
    std::uint64_t value = 0;
    for (std::size_t i = 1; i < number.size(); ++i) {
        std::optional<unsigned> digit = hexDigitValue(number[i]);
        if (!digit) return 0;
        value = (value << 4) | *digit;
        if (value > 0xFFFFFFFFu) return 0;  // not a 32-bit number
    }
    return value;
}

}  // namespace quillet
