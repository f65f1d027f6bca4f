#include "model/utf8.h"

namespace quillet {

void appendUtf8(std::string& out, char32_t codePoint)
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

std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& at)
{
    if (at >= text.size()) return std::nullopt;
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byteAt(at);
    if (first < 0x80) {
        ++at;
        return first;
    }
    std::size_t length = 0;
    if (first >= 0xC2 && first <= 0xDF)
        length = 2;
    else if (first >= 0xE0 && first <= 0xEF)
        length = 3;
    else if (first >= 0xF0 && first <= 0xF4)
        length = 4;
    else
        return std::nullopt;
    // The second byte's range rules out overlong forms, surrogates and code points past U+10FFFF.
    unsigned char low = first == 0xE0 ? 0xA0 : first == 0xF0 ? 0x90 : 0x80;
    unsigned char high = first == 0xED ? 0x9F : first == 0xF4 ? 0x8F : 0xBF;
    char32_t codePoint = first & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if (at + i >= text.size() || byteAt(at + i) < low || byteAt(at + i) > high) return std::nullopt;
        codePoint = (codePoint << 6) | (byteAt(at + i) & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    at += length;
    return codePoint;
}

std::optional<std::u16string> unitsFromUtf8(std::string_view text)
{
    std::u16string units;
    units.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        std::optional<char32_t> codePoint = decodeUtf8(text, at);
        if (!codePoint) return std::nullopt;
        appendUnits(units, *codePoint);
    }
    return units;
}

std::string readableUtf8(std::u16string_view units)
{
    std::string out;
    out.reserve(units.size());
    Utf16Walk walk(units);
    while (auto piece = walk.next()) {
        if (piece->loneSurrogate)
            appendUtf8(out, 0xFFFD);
        else if (piece->codePoint != 0)
            appendUtf8(out, piece->codePoint);
    }
    return out;
}

std::optional<Utf16Piece> Utf16Walk::next()
{
    if (at_ >= units_.size()) return std::nullopt;
    Utf16Piece piece{units_[at_], false, at_, 1};
    if (isHighSurrogate(units_[at_]) && at_ + 1 < units_.size() && isLowSurrogate(units_[at_ + 1])) {
        piece.codePoint = joinedSurrogates(units_[at_], units_[at_ + 1]);
        piece.size = 2;
    } else {
        piece.loneSurrogate = isHighSurrogate(units_[at_]) || isLowSurrogate(units_[at_]);
    }
    at_ += piece.size;
    return piece;
}

bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

char32_t joinedSurrogates(char16_t high, char16_t low)
{
    return 0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) + (static_cast<char32_t>(low) - 0xDC00);
}

void appendUnits(std::u16string& units, char32_t codePoint)
{
    if (codePoint < 0x10000) {
        units.push_back(static_cast<char16_t>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    units.push_back(static_cast<char16_t>(0xD800 | (codePoint >> 10)));
    units.push_back(static_cast<char16_t>(0xDC00 | (codePoint & 0x3FF)));
}

}  // namespace quillet
