#include "search/pattern.h"

#include <algorithm>

#include "model/codepage.h"
#include "model/hex.h"
#include "model/line_format.h"
#include "model/translated.h"
#include "model/utf8.h"

namespace quillet {

namespace {
std::optional<unsigned> hexDigitOf(char16_t unit)
{
    return unit < 0x80 ? hexDigitValue(static_cast<char>(unit)) : std::nullopt;
}

bool isControl(char16_t unit)
{
    return unit < 0x20 || unit == 0x7F;
}

// The units of the character at `at`: two for a surrogate pair.
std::size_t characterSize(std::u16string_view text, std::size_t at)
{
    return isHighSurrogate(text[at]) && at + 1 < text.size() && isLowSurrogate(text[at + 1]) ? 2 : 1;
}

// The text up to `end`, quoted for a message: its last 24 units at most. Everything before a
// fault is hex digits and spaces.
std::string quotedUpTo(std::u16string_view text, std::size_t end)
{
    constexpr std::size_t Shown = 24;
    std::size_t from = end > Shown ? end - Shown : 0;
    return std::string("\"") + (from > 0 ? "..." : "") + readableUtf8(text.substr(from, end - from)) + "\"";
}

// Where a hex text goes wrong: 'character N ("X")', a control character named by its code.
std::string placeOf(std::u16string_view text, std::size_t at)
{
    std::string shown = isControl(text[at]) ? "U+" + hexUpper(text[at], 4)
                                            : "\"" + readableUtf8(text.substr(at, characterSize(text, at))) + "\"";
    return "character " + std::to_string(at + 1) + " (" + shown + ")";
}

const char* const HexAdvice = "; write each byte as two hex digits, such as 4F 6B.";

Failure noHexDigit(std::u16string_view text, std::size_t at)
{
    std::size_t shownEnd = isControl(text[at]) ? at : at + characterSize(text, at);
    return Failure{quotedUpTo(text, shownEnd) + ": " + placeOf(text, at) + " is no hex digit" + HexAdvice};
}

// Pairs of hex digits, either case, with spaces between pairs (and around them). Anything else
// is refused, quoting the text up to the first fault and saying where it is: all before it is
// ASCII, so its unit's index is its character's place.
Result<Bytes> hexPattern(std::u16string_view text)
{
    Bytes bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u' ') continue;
        std::optional<unsigned> high = hexDigitOf(text[i]);
        if (!high) return noHexDigit(text, i);
        if (i + 1 == text.size() || text[i + 1] == u' ')
            return Failure{quotedUpTo(text, i + 1) + ": " + placeOf(text, i) + " is a hex digit without its pair" +
                           HexAdvice};
        std::optional<unsigned> low = hexDigitOf(text[++i]);
        if (!low) return noHexDigit(text, i);
        bytes.push_back(static_cast<std::uint8_t>(*high << 4 | *low));
    }
    if (bytes.empty() && !text.empty())
        return Failure{quotedUpTo(text, text.size()) + " holds no hex digits" + HexAdvice};
    return bytes;
}

std::string firstMissingCharacter(std::u16string_view text, const CodePage& codePage)
{
    Utf16Walk walk(text);
    while (auto piece = walk.next()) {
        std::u16string_view character = text.substr(piece->at, piece->size);
        if (!std::all_of(character.begin(), character.end(), [&](char16_t unit) { return codePage.hasUnit(unit); }))
            return readableUtf8(character);
    }
    return {};
}
}  // namespace

Result<Bytes> patternBytes(std::u16string_view text, PatternMode mode, const CodePage& codePage)
{
    switch (mode) {
    case PatternMode::HexData: return hexPattern(text);
    case PatternMode::Text: {
        std::optional<std::string> encoded = codePage.encode(text);
        if (encoded) return Bytes(encoded->begin(), encoded->end());
        return Failure{filled(translated("The text holds \"%1\", which code page %2 has no byte for."),
                              {firstMissingCharacter(text, codePage), std::to_string(codePage.number())})};
    }
    case PatternMode::TextUnicode: return bytesOfUnits(text);
    }
    return Bytes();
}

std::optional<std::size_t> patternCharacterCount(std::u16string_view text, PatternMode mode, const CodePage& codePage)
{
    if (mode == PatternMode::HexData) {
        Result<Bytes> bytes = hexPattern(text);
        return bytes ? std::optional<std::size_t>(bytes->size()) : std::nullopt;
    }
    if (mode != PatternMode::Text) return text.size();
    std::optional<std::string> encoded = codePage.encode(text);
    if (!encoded) return std::nullopt;
    return encoded->size();
}

}  // namespace quillet
