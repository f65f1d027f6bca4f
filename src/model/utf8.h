#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// The program's one UTF-8 encoder and decoder. Texts of a file are UTF-16 units (std::u16string);
// the window, the command line and the translators' files speak UTF-8.

void appendUtf8(std::string& out, char32_t codePoint);

// One well-formed UTF-8 sequence at `at` (shortest form, no surrogates, at most U+10FFFF);
// advances `at` past it. Nothing for anything else, and `at` stays.
std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& at);

// Strictly decoded UTF-8 as UTF-16 units; nothing when the text is not valid UTF-8.
std::optional<std::u16string> unitsFromUtf8(std::string_view text);

// UTF-16 units for a person to read: pairs joined, an unpaired surrogate shown as U+FFFD, a
// unit 0 left out (a list line has no room for it).
std::string readableUtf8(std::u16string_view units);

// One character of UTF-16 text: a unit of its own or a surrogate pair joined. A surrogate
// without its partner stands alone and says so; a unit 0 is the character 0 like any other.
struct Utf16Piece {
    char32_t codePoint = 0;  // a lone surrogate's own unit
    bool loneSurrogate = false;
    std::size_t at = 0;    // where its first unit stands
    std::size_t size = 1;  // 2 for a pair
};

// Walks UTF-16 units a character at a time: `while (auto piece = walk.next())`. The program's
// one reading of pairs: every place that turns units into characters goes through it.
class Utf16Walk {
public:
    explicit Utf16Walk(std::u16string_view units) : units_(units) {}
    std::optional<Utf16Piece> next();

private:
    std::u16string_view units_;
    std::size_t at_ = 0;
};

bool isHighSurrogate(char16_t unit);
bool isLowSurrogate(char16_t unit);
// The code point of a surrogate pair.
char32_t joinedSurrogates(char16_t high, char16_t low);
void appendUnits(std::u16string& units, char32_t codePoint);

}  // namespace quillet
