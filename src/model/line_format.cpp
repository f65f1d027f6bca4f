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
    std::int64_t first = segment.dataStart();
    std::int64_t last = first + segment.size() - 1;
    return hexUpper(static_cast<std::uint64_t>(first), 4) + ":" + hexUpper(static_cast<std::uint64_t>(last), 4);
}

std::string rawSegmentLine(std::uint64_t fileLength)
{
    return "0000:" + hexUpper(fileLength, 4);
}

std::u16string unitsOf(const std::uint8_t* data, std::size_t size)
{
    std::u16string units(size / 2, u'\0');
    for (std::size_t m = 0; m < units.size(); ++m)
        units[m] = static_cast<char16_t>(data[2 * m] | (data[2 * m + 1] << 8));
    return units;
}

std::u16string unitsOf(const SegmentBytes& data, std::size_t size)
{
    if (size == 0) return {};
    std::span<const std::uint8_t> run = data.runAt(0);
    if (run.size() >= size) return unitsOf(run.data(), size);
    Bytes bytes = data.copy(0, size);
    return unitsOf(bytes.data(), size);
}

Bytes bytesOfUnits(std::u16string_view units)
{
    Bytes bytes;
    bytes.reserve(2 * units.size());
    for (char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

std::u16string fieldUnits(std::u16string_view units)
{
    return std::u16string(units.substr(0, units.find(u'\0')));
}

std::string codePagePreview(std::u16string_view units, const CodePage& codePage)
{
    std::string text;
    for (char16_t unit : units) {
        if (unit == 0) break;
        const std::string& converted = codePage.fromUnit(unit);
        // A unit whose conversion holds a NUL ends the field's text there as well.
        std::size_t nul = converted.find('\0');
        text.append(converted, 0, nul);
        if (nul != std::string::npos) break;
    }
    return codePage.toUtf8(text);
}

}  // namespace quillet
