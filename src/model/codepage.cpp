#include "model/codepage.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <iconv.h>
#include <map>
#include <mutex>
#include <vector>

#include "model/codepage_names.h"
#include "model/utf8.h"

namespace quillet {

struct CodePage::Tables {
    bool doubleByte = false;
    std::vector<std::string> unitBytes;         // 65536 entries, "?" for units the page lacks
    std::array<std::uint16_t, 256> byteUnit{};  // first UTF-16 unit of each byte, 0 for a lead
    std::array<char32_t, 256> byteCodePoint{};  // the same as a code point, for whole texts
    std::array<bool, 256> leadByte{};
    std::array<bool, 256> unassigned{};
    std::vector<char32_t> pairCodePoint;  // [lead * 256 + trail], 0 for an invalid pair
};

namespace {

const std::string Replacement = "?";

// One iconv descriptor; every conversion starts from the initial state and is flushed, so that
// stateful pages (1255 and 1258 hold back a base letter for a following mark) convert each
// character on its own.
class Converter {
public:
    Converter(const std::string& to, const std::string& from) : descriptor_(iconv_open(to.c_str(), from.c_str())) {}
    ~Converter()
    {
        if (isOpen()) iconv_close(descriptor_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool isOpen() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }

    struct Result {
        std::string output;
        int error = 0;  // 0, EILSEQ (no such character) or EINVAL (incomplete, a lone lead byte)
    };

    Result convertAlone(std::string_view input)
    {
        Result result;
        iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
        char buffer[32];
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        if (iconv(descriptor_, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) result.error = errno;
        if (iconv(descriptor_, nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1) && result.error == 0)
            result.error = errno;
        result.output.assign(buffer, out);
        return result;
    }

private:
    iconv_t descriptor_;
};

char32_t firstCodePoint(const std::string& utf32le)
{
    if (utf32le.size() < 4) return 0;
    char32_t codePoint = 0;
    for (int i = 3; i >= 0; --i)
        codePoint = (codePoint << 8) | static_cast<unsigned char>(utf32le[static_cast<std::size_t>(i)]);
    return codePoint;
}

std::uint16_t firstUnit(char32_t codePoint)
{
    if (codePoint < 0x10000) return static_cast<std::uint16_t>(codePoint);
    return static_cast<std::uint16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
}

bool isSurrogate(char32_t codePoint)
{
    return codePoint >= 0xD800 && codePoint <= 0xDFFF;
}

void fillUnitBytes(CodePage::Tables& tables, Converter& encoder)
{
    tables.unitBytes.assign(65536, Replacement);
    tables.unitBytes[0] = std::string(1, '\0');
    for (char32_t unit = 1; unit < 65536; ++unit) {
        if (isSurrogate(unit)) continue;
        const char input[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        Converter::Result result = encoder.convertAlone(std::string_view(input, 2));
        if (result.error == 0 && !result.output.empty()) tables.unitBytes[unit] = result.output;
    }
}

// A byte that the page leaves undefined stands for the unit of the same value, both ways, as
// Windows does for the holes of 1252 (0x81, 0x8D, ...), so that no byte of a file reads as 0.
void fillByteTables(CodePage::Tables& tables, Converter& decoder)
{
    for (int byte = 1; byte < 256; ++byte) {
        const char input = static_cast<char>(byte);
        Converter::Result result = decoder.convertAlone(std::string_view(&input, 1));
        char32_t codePoint = firstCodePoint(result.output);
        if (result.error == EINVAL) {
            tables.leadByte[byte] = true;
            tables.doubleByte = true;
            codePoint = 0;
        } else if (result.error != 0 || result.output.empty()) {
            codePoint = static_cast<char32_t>(byte);
            tables.unassigned[byte] = true;
            if (tables.unitBytes[byte] == Replacement) tables.unitBytes[byte] = std::string(1, input);
        }
        tables.byteCodePoint[byte] = codePoint;
        tables.byteUnit[byte] = firstUnit(codePoint);
    }
}

void fillPairTable(CodePage::Tables& tables, Converter& decoder)
{
    tables.pairCodePoint.assign(65536, 0);
    for (int lead = 0; lead < 256; ++lead) {
        if (!tables.leadByte[lead]) continue;
        for (int trail = 0; trail < 256; ++trail) {
            const char input[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            Converter::Result result = decoder.convertAlone(std::string_view(input, 2));
            if (result.error == 0 && result.output.size() == 4)
                tables.pairCodePoint[lead * 256 + trail] = firstCodePoint(result.output);
        }
    }
}

// Without iconv for the page the bytes stand for the units of the same value.
void fillIdentity(CodePage::Tables& tables)
{
    tables.unitBytes.assign(65536, Replacement);
    for (int byte = 0; byte < 256; ++byte) {
        tables.unitBytes[byte] = std::string(1, static_cast<char>(byte));
        tables.byteCodePoint[byte] = static_cast<char32_t>(byte);
        tables.byteUnit[byte] = static_cast<std::uint16_t>(byte);
    }
}

std::shared_ptr<const CodePage::Tables> buildTables(int number)
{
    auto tables = std::make_shared<CodePage::Tables>();
    const std::string iconvName = "CP" + std::to_string(number);
    Converter encoder(iconvName, "UTF-16LE");
    Converter decoder("UTF-32LE", iconvName);
    if (!encoder.isOpen() || !decoder.isOpen()) {
        fillIdentity(*tables);
        return tables;
    }
    fillUnitBytes(*tables, encoder);
    fillByteTables(*tables, decoder);
    if (tables->doubleByte) fillPairTable(*tables, decoder);
    return tables;
}

void appendShown(std::string& text, char32_t codePoint)
{
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        text += Replacement;
    else
        appendUtf8(text, codePoint);
}

}  // namespace

// A code page's number, and its tables once a conversion has needed them.
struct CodePage::Source {
    explicit Source(int codePageNumber) : number(codePageNumber) {}
    const int number;
    std::once_flag built;
    std::shared_ptr<const Tables> tables;
};

CodePage::CodePage(std::shared_ptr<Source> source) : source_(std::move(source)) {}

CodePage CodePage::fromNumber(int number)
{
    static std::mutex cacheMutex;
    static std::map<int, std::shared_ptr<Source>> cache;
    std::lock_guard lock(cacheMutex);
    std::shared_ptr<Source>& source = cache[number];
    if (!source) source = std::make_shared<Source>(number);
    return CodePage(source);
}

const CodePage::Tables& CodePage::tables() const
{
    std::call_once(source_->built, [this] { source_->tables = buildTables(source_->number); });
    return *source_->tables;
}

std::optional<CodePage> CodePage::byName(std::string_view name)
{
    std::optional<int> number = codePageNumberFromName(name);
    if (!number) return std::nullopt;
    return fromNumber(*number);
}

CodePage CodePage::forLocale(std::string_view localeName)
{
    return fromNumber(codePageNumberForLocale(localeName));
}

std::string CodePage::systemLocaleName()
{
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return value;
    }
    return {};
}

CodePage CodePage::system()
{
    return forLocale(systemLocaleName());
}

int CodePage::number() const
{
    return source_->number;
}

bool CodePage::isDoubleByte() const
{
    return tables().doubleByte;
}

const std::string& CodePage::fromUnit(std::uint16_t unit) const
{
    return tables().unitBytes[unit];
}

std::uint16_t CodePage::toUnit(std::uint8_t ch) const
{
    return tables().byteUnit[ch];
}

bool CodePage::isUnassigned(std::uint8_t ch) const
{
    return tables().unassigned[ch];
}

std::string CodePage::toUtf8(std::string_view ansi) const
{
    const Tables& tables = this->tables();
    std::string text;
    text.reserve(ansi.size());
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        const auto byte = static_cast<unsigned char>(ansi[i]);
        if (!tables.leadByte[byte]) {
            appendShown(text, tables.byteCodePoint[byte]);
            continue;
        }
        char32_t pair = 0;
        if (i + 1 < ansi.size()) pair = tables.pairCodePoint[byte * 256 + static_cast<unsigned char>(ansi[i + 1])];
        // A lead byte without a valid trail stands alone, so the next byte keeps its meaning.
        if (pair == 0) {
            text += Replacement;
        } else {
            appendShown(text, pair);
            ++i;
        }
    }
    return text;
}

bool CodePage::hasUnit(char16_t unit) const
{
    return unit == u'?' || tables().unitBytes[unit] != Replacement;
}

std::optional<std::string> CodePage::encode(std::u16string_view units) const
{
    const std::vector<std::string>& unitBytes = tables().unitBytes;
    std::string bytes;
    bytes.reserve(units.size());
    for (char16_t unit : units) {
        const std::string& converted = unitBytes[unit];
        if (unit != u'?' && converted == Replacement) return std::nullopt;
        bytes += converted;
    }
    return bytes;
}

}  // namespace quillet
