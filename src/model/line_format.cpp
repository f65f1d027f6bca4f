#include "model/line_format.h"

#include <cstdio>

#include "model/codepage.h"
#include "model/hex.h"

namespace quillet {

std::string sequenceNumber(std::size_t oneBasedPosition)
{
    char text[32];
    std::snprintf(text, sizeof text, "%3zu", oneBasedPosition);
    std::string result = text;
    for (char& ch : result)
        if (ch == ' ') ch = '0';
    return result;
}

std::string indexTag(std::optional<std::size_t> entry)
{
    return entry ? "(" + std::to_string(*entry) + ")" : std::string();
}

std::string formatIndexLine(std::uint16_t entryValue, std::size_t entryNumber)
{
    return hexUpper(entryValue, 4) + "(" + std::to_string(entryNumber) + ")";
}

std::string dataRange(const Segment& segment)
{
    std::int64_t first = static_cast<std::int64_t>(segment.offset) + 1;
    std::int64_t last = static_cast<std::int64_t>(segment.offset) + segment.size;
    return hexUpper(static_cast<std::uint64_t>(first), 4) + ":" + hexUpper(static_cast<std::uint64_t>(last), 4);
}

std::string rawSegmentLine(std::uint64_t fileLength)
{
    return "0000:" + hexUpper(fileLength, 4);
}

std::string lineHead(const std::string& line)
{
    return line.substr(0, line.find(' '));
}

std::string withHead(const std::string& oldLine, const std::string& rest)
{
    return lineHead(oldLine) + " " + rest;
}

std::vector<std::uint16_t> unitsOf(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::uint16_t> units(size / 2);
    for (std::size_t m = 0; m < units.size(); ++m)
        units[m] = static_cast<std::uint16_t>(data[2 * m] | (data[2 * m + 1] << 8));
    return units;
}

std::string displayText(const std::uint8_t* data, std::size_t size, const CodePage& codePage)
{
    std::string text;
    for (std::size_t m = 0; 2 * m + 1 < size; ++m) {
        std::uint16_t unit = static_cast<std::uint16_t>(data[2 * m] | (data[2 * m + 1] << 8));
        if (unit != 0) text += codePage.fromUnit(unit);
    }
    return text;
}

std::string displayText(const Bytes& data, const CodePage& codePage)
{
    return displayText(data.data(), data.size(), codePage);
}

std::string fieldText(const std::vector<std::uint16_t>& units, const CodePage& codePage)
{
    std::string text;
    for (std::uint16_t unit : units) {
        if (unit == 0) break;
        const std::string& converted = codePage.fromUnit(unit);
        // A unit whose conversion holds a NUL ends the field's text there as well.
        std::size_t nul = converted.find('\0');
        text.append(converted, 0, nul);
        if (nul != std::string::npos) break;
    }
    return text;
}

std::optional<std::size_t> entryNumberOfLine(const std::string& line)
{
    std::size_t open = line.find_first_of("()");
    if (open == std::string::npos) return std::nullopt;
    std::size_t close = line.find_first_of("()", open + 1);
    std::string number = line.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
    if (number.empty()) return std::nullopt;
    constexpr std::size_t Largest = std::size_t(1) << 40;  // far beyond any index entry
    std::size_t value = 0;
    for (char ch : number) {
        if (ch < '0' || ch > '9') return std::nullopt;
        value = value * 10 + static_cast<std::size_t>(ch - '0');
        if (value > Largest) return std::nullopt;
    }
    return value;
}

}  // namespace quillet
