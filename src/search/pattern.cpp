#include "search/pattern.h"

#include <algorithm>

#include "model/codepage.h"
#include "model/hex.h"
#include "model/line_format.h"
#include "model/translated.h"
#include "model/utf8.h"

namespace quillet {

namespace {
// Characters other than ASCII are no hex digits and no "$": they read as 0.
char asciiOrNothing(char16_t unit)
{
    return unit < 0x80 ? static_cast<char>(unit) : '\x01';
}

Bytes hexPattern(std::u16string_view text)
{
    Bytes bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        std::string pair{asciiOrNothing(text[i]), asciiOrNothing(text[i + 1])};
        bytes.push_back(static_cast<std::uint8_t>(hexValueOfText(pair) & 0xFF));
    }
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
    if (mode != PatternMode::Text) return text.size();
    std::optional<std::string> encoded = codePage.encode(text);
    if (!encoded) return std::nullopt;
    return encoded->size();
}

}  // namespace quillet
