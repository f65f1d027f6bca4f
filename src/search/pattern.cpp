#include "search/pattern.h"

#include "model/codepage.h"
#include "model/hex.h"

namespace quillet {

namespace {
Bytes hexPattern(const std::string& text)
{
    Bytes bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(hexValueOfText(text.substr(i, 2)) & 0xFF));
    return bytes;
}

Bytes unicodePattern(const std::string& text, const CodePage& codePage)
{
    Bytes bytes;
    bytes.reserve(text.size() * 2);
    for (char ch : text) {
        std::uint16_t unit = codePage.toUnit(static_cast<std::uint8_t>(ch));
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}
}  // namespace

Bytes patternBytes(const std::string& text, PatternMode mode, const CodePage& codePage)
{
    switch (mode) {
    case PatternMode::HexData:
        return hexPattern(text);
    case PatternMode::Text:
        return Bytes(text.begin(), text.end());
    case PatternMode::TextUnicode:
        return unicodePattern(text, codePage);
    }
    return Bytes();
}

}  // namespace quillet
