#include "model/utf16_text.h"

#include "model/hex.h"

namespace quillet {

void appendUtf8(std::string& out, std::uint32_t codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

bool isHighSurrogate(std::uint16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(std::uint16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void appendUtf16(std::vector<std::uint16_t>& units, std::uint32_t codePoint)
{
    if (codePoint < 0x10000) {
        units.push_back(static_cast<std::uint16_t>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    units.push_back(static_cast<std::uint16_t>(0xD800 | (codePoint >> 10)));
    units.push_back(static_cast<std::uint16_t>(0xDC00 | (codePoint & 0x3FF)));
}

std::optional<std::uint32_t> decodeUtf8(std::string_view text, std::size_t& at)
{
    auto lead = static_cast<unsigned char>(text[at]);
    int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || at + static_cast<std::size_t>(extra) >= text.size()) return std::nullopt;
    std::uint32_t codePoint = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    static const std::uint32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (codePoint < smallest[extra] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return std::nullopt;
    at += static_cast<std::size_t>(extra) + 1;
    return codePoint;
}

std::string escapedUtf8FromUnits(const std::vector<std::uint16_t>& units)
{
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::uint16_t unit = units[i];
        switch (unit) {
        case '\\': out += "\\\\"; continue;
        case '\t': out += "\\t"; continue;
        case '\n': out += "\\n"; continue;
        case '\r': out += "\\r"; continue;
        case 0: out += "\\0"; continue;
        default: break;
        }
        if (isHighSurrogate(unit) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800u) << 10) + (units[i + 1] - 0xDC00u));
            ++i;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            out += "\\u" + hexUpper(unit, 4);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

std::optional<std::vector<std::uint16_t>> unitsFromEscapedUtf8(std::string_view text, std::string& error)
{
    std::vector<std::uint16_t> units;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] != '\\') {
            auto codePoint = decodeUtf8(text, at);
            if (!codePoint) {
                error = "the text is not valid UTF-8";
                return std::nullopt;
            }
            appendUtf16(units, *codePoint);
            continue;
        }
        if (at + 1 >= text.size()) {
            error = "the text ends with a lone \\";
            return std::nullopt;
        }
        char escape = text[at + 1];
        at += 2;
        switch (escape) {
        case '\\': units.push_back('\\'); break;
        case 't': units.push_back('\t'); break;
        case 'n': units.push_back('\n'); break;
        case 'r': units.push_back('\r'); break;
        case '0': units.push_back(0); break;
        case 'u': {
            std::string digits(text.substr(at, 4));
            bool hex = digits.size() == 4 && digits.find_first_not_of("0123456789ABCDEFabcdef") == std::string::npos;
            if (!hex) {
                error = "\\u needs four hex digits";
                return std::nullopt;
            }
            units.push_back(static_cast<std::uint16_t>(hexValueOfText(digits)));
            at += 4;
            break;
        }
        default:
            error = "unknown escape \\" + std::string(1, escape);
            return std::nullopt;
        }
    }
    return units;
}

}  // namespace quillet
