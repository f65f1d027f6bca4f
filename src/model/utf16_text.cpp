#include "model/utf16_text.h"

#include "model/hex.h"
#include "model/translated.h"
#include "model/utf8.h"

namespace quillet {

namespace {

bool isControlCharacter(char32_t codePoint)
{
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

// The escape a control character is written as.
std::string escapeOf(char32_t codePoint)
{
    switch (codePoint) {
    case '\t': return "\\t";
    case '\n': return "\\n";
    case '\r': return "\\r";
    case 0: return "\\0";
    default: return "\\u" + hexUpper(codePoint, 4);
    }
}

std::string nameOfControl(char32_t codePoint)
{
    switch (codePoint) {
    case '\t': return "a TAB";
    case '\n': return "a line feed";
    case '\r': return "a carriage return";
    default: return "the control character U+" + hexUpper(codePoint, 4);
    }
}

}  // namespace

std::string escapedUtf8FromUnits(std::u16string_view units)
{
    std::string out;
    Utf16Walk walk(units);
    while (auto piece = walk.next()) {
        if (piece->loneSurrogate)
            out += "\\u" + hexUpper(piece->codePoint, 4);
        else if (piece->codePoint == '\\')
            out += "\\\\";
        else if (isControlCharacter(piece->codePoint))
            out += escapeOf(piece->codePoint);
        else
            appendUtf8(out, piece->codePoint);
    }
    return out;
}

Result<std::u16string> unitsFromEscapedUtf8(std::string_view text)
{
    std::u16string units;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] != '\\') {
            auto codePoint = decodeUtf8(text, at);
            if (!codePoint) return Failure{"the text is not valid UTF-8"};
            // Raw, it may be a mistake or a damaged file: the export never writes one.
            if (isControlCharacter(*codePoint))
                return Failure{"the text holds " + nameOfControl(*codePoint) + " as it is; write it as " +
                               escapeOf(*codePoint)};
            appendUnits(units, *codePoint);
            continue;
        }
        if (at + 1 >= text.size()) return Failure{translated("the text ends with a lone \\")};
        char escape = text[at + 1];
        at += 2;
        switch (escape) {
        case '\\': units.push_back('\\'); break;
        case 't': units.push_back('\t'); break;
        case 'n': units.push_back('\n'); break;
        case 'r': units.push_back('\r'); break;
        case '0': units.push_back(0); break;
        case 'u': {
            std::optional<char16_t> unit = unitOfFourHexDigits(text.substr(at));
            if (!unit) return Failure{translated("\\u needs four hex digits")};
            units.push_back(*unit);
            at += 4;
            break;
        }
        default: return Failure{filled(translated("unknown escape \\%1"), {std::string(1, escape)})};
        }
    }
    return units;
}

}  // namespace quillet
