#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// The 8-bit ANSI code page in which every text of the program is held, with the per-character
// conversions to and from 16-bit units. Built once per code page from the C library's iconv
// into lookup tables, when a conversion first needs them, so that a command that converts no
// text never pays for them; copies share the tables.
class CodePage {
public:
    // "1251", "CP1251", "cp1251", "windows-1251" (any case). Only the Windows code pages
    // 1250-1258, 874, 932, 936, 949 and 950 are known; anything else gives nothing.
    static std::optional<CodePage> byName(std::string_view name);
    // The code page Windows would pick for a locale name such as "ru_RU.UTF-8" (1252 by default).
    static CodePage forLocale(std::string_view localeName);
    // The locale of this process from LC_ALL, LC_CTYPE, then LANG (empty when none is set).
    static std::string systemLocaleName();
    // forLocale(systemLocaleName()).
    static CodePage system();

    int number() const;
    bool isDoubleByte() const;

    // One 16-bit unit converted on its own: usually one or two bytes (a few Hebrew presentation
    // forms give three in 1255), "?" when the code page lacks it.
    // The unit 0 gives a single NUL byte.
    const std::string& fromUnit(std::uint16_t unit) const;
    // One 8-bit character converted on its own: the first 16-bit unit of the result, 0 when
    // the conversion yields none (a lone lead byte of a double-byte code page).
    std::uint16_t toUnit(std::uint8_t ch) const;
    // The page defines no character for the byte (such a byte reads as the unit of the same
    // value). Lead bytes of a double-byte page are defined.
    bool isUnassigned(std::uint8_t ch) const;

    // 8-bit text for display, with the code page's own character boundaries (lead and trail
    // bytes together); a byte sequence that stands for no character becomes "?".
    std::string toUtf8(std::string_view ansi) const;
    // The bytes of a text in the code page; nothing when it holds a character the page lacks.
    std::optional<std::string> encode(std::u16string_view units) const;
    bool hasUnit(char16_t unit) const;

    struct Tables;

private:
    struct Source;
    explicit CodePage(std::shared_ptr<Source> source);
    // The code page of a known number, its tables built on first use and kept.
    static CodePage fromNumber(int number);
    const Tables& tables() const;
    std::shared_ptr<Source> source_;
};

}  // namespace quillet
