#include "model/texts_po_notation.h"

#include "model/hex.h"
#include "model/utf8.h"

namespace quillet {

const std::string_view NotationNote = "#. This text holds characters a PO file cannot carry, written in a notation:\n"
                                      "#. \\0 stands for a character 0, \\uXXXX for one UTF-16 unit, \\\\ for one\n"
                                      "#. backslash. Keep them so in the translation.\n";

namespace {

// The unit a notation names; `at` is just past its backslash and ends past the notation.
Result<char16_t> unitOfNotation(std::string_view text, std::size_t& at)
{
    constexpr std::string_view help = " (in this text \\\\ stands for one backslash)";
    if (at >= text.size()) return Failure{"the text ends with a lone \\" + std::string(help)};
    char letter = text[at++];
    if (letter == '\\') return u'\\';
    if (letter == '0') return u'\0';
    bool isU = letter == 'u' || letter == 'U';
    if (auto unit = isU ? unitOfFourHexDigits(text.substr(at)) : std::nullopt) {
        at += 4;
        return *unit;
    }
    return Failure{(isU ? "\\u needs four hex digits" : "unknown notation \\" + std::string(1, letter)) +
                   std::string(help)};
}

}  // namespace

bool needsNotation(std::u16string_view units)
{
    Utf16Walk walk(units);
    while (auto piece = walk.next())
        if (piece->loneSurrogate || piece->codePoint == 0) return true;
    return false;
}

std::string poTextOfUnits(std::u16string_view units, bool notation)
{
    std::string out;
    Utf16Walk walk(units);
    while (auto piece = walk.next()) {
        if (notation && piece->loneSurrogate)
            out += "\\u" + hexUpper(piece->codePoint, 4);
        else if (notation && piece->codePoint == '\\')
            out += "\\\\";
        else if (notation && piece->codePoint == 0)
            out += "\\0";
        else
            appendUtf8(out, piece->codePoint);
    }
    return out;
}

Result<std::u16string> unitsOfPoText(std::string_view text, bool notation)
{
    std::u16string units;
    std::size_t at = 0;
    while (at < text.size()) {
        if (notation && text[at] == '\\') {
            Result<char16_t> unit = unitOfNotation(text, ++at);
            if (!unit) return unit.failure();
            units.push_back(*unit);
        } else if (auto codePoint = decodeUtf8(text, at)) {
            appendUnits(units, *codePoint);
        } else {
            return Failure{"the text is not valid UTF-8"};
        }
    }
    return units;
}

}  // namespace quillet
