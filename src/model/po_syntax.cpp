#include "model/po_syntax.h"

#include "model/hex.h"
#include "model/line_reader.h"

namespace quillet {

namespace {

constexpr std::string_view Blanks = " \t";

bool isOctalDigit(char ch)
{
    return ch >= '0' && ch <= '7';
}

std::optional<std::string> appendEscapedByte(std::string& out, unsigned value)
{
    if (value > 0xFF) return "the escape's value does not fit in a byte";
    if (value == 0) return "a PO string cannot hold a character 0";
    out += static_cast<char>(value);
    return std::nullopt;
}

// The escapes gettext knows: the C ones, octal and hex. `at` is just past the backslash.
std::optional<std::string> readEscape(std::string_view line, std::size_t& at, std::string& out)
{
    if (at >= line.size()) return "the string has no closing quote";
    char escape = line[at++];
    switch (escape) {
    case 'n': out += '\n'; return std::nullopt;
    case 't': out += '\t'; return std::nullopt;
    case 'r': out += '\r'; return std::nullopt;
    case 'a': out += '\a'; return std::nullopt;
    case 'b': out += '\b'; return std::nullopt;
    case 'f': out += '\f'; return std::nullopt;
    case 'v': out += '\v'; return std::nullopt;
    case '\\':
    case '"': out += escape; return std::nullopt;
    case 'x': {
        unsigned value = 0;
        std::size_t digits = 0;
        for (; at < line.size() && value <= 0xFF; ++at, ++digits) {
            std::optional<unsigned> digit = hexDigitValue(line[at]);
            if (!digit) break;
            value = value * 16 + *digit;
        }
        if (digits == 0) return "\\x needs hex digits";
        return appendEscapedByte(out, value);
    }
    default: break;
    }
    if (!isOctalDigit(escape)) {
        bool printable = escape > ' ' && escape < 0x7F;
        return printable ? "unknown escape \\" + std::string(1, escape) : std::string("unknown escape after \\");
    }
    unsigned value = static_cast<unsigned>(escape - '0');
    for (int digits = 1; digits < 3 && at < line.size() && isOctalDigit(line[at]); ++digits, ++at)
        value = value * 8 + static_cast<unsigned>(line[at] - '0');
    return appendEscapedByte(out, value);
}

// One quoted string; `at` is just past its opening quote and ends past its closing one.
std::optional<std::string> readQuoted(std::string_view line, std::size_t& at, std::string& out)
{
    while (at < line.size()) {
        char ch = line[at++];
        if (ch == '"') return std::nullopt;
        if (ch != '\\') {
            out += ch;
        } else if (auto reason = readEscape(line, at, out)) {
            return reason;
        }
    }
    return "the string has no closing quote";
}

// "msgstr[N]", the translation of one plural form.
bool isIndexedMsgstr(std::string_view keyword)
{
    constexpr std::string_view start = "msgstr[";
    if (keyword.size() < start.size() + 2 || keyword.substr(0, start.size()) != start || keyword.back() != ']')
        return false;
    std::string_view digits = keyword.substr(start.size(), keyword.size() - start.size() - 1);
    return digits.find_first_not_of("0123456789") == std::string_view::npos;
}

bool hasFuzzyFlag(std::string_view flags)
{
    while (!flags.empty()) {
        std::size_t comma = flags.find(',');
        std::string_view flag = flags.substr(0, comma);
        flags.remove_prefix(comma == std::string_view::npos ? flags.size() : comma + 1);
        std::size_t first = flag.find_first_not_of(Blanks);
        if (first == std::string_view::npos) continue;
        flag = flag.substr(first, flag.find_last_not_of(Blanks) - first + 1);
        if (flag == "fuzzy") return true;
    }
    return false;
}

// Reads a PO file line by line, building each entry and handing it on once it is whole.
class PoReader {
public:
    explicit PoReader(const PoEntryHandler& onEntry) : onEntry_(onEntry) {}

    std::optional<TextsError> readLine(std::string_view line, std::size_t number);
    std::optional<TextsError> finish() { return endEntry(); }

private:
    // Where the quoted strings after a keyword go.
    enum class Field { None, Context, Id, Translation, Ignored };

    std::optional<TextsError> readKeyword(std::string_view line, std::size_t number);
    std::optional<TextsError> readStrings(std::string_view rest, std::size_t number);
    std::optional<TextsError> startContext(std::size_t number);
    std::optional<TextsError> startId(std::size_t number);
    std::optional<TextsError> startPlural(std::size_t number);
    std::optional<TextsError> startTranslation(std::string_view keyword, std::size_t number);
    void openField(std::string_view keyword, std::size_t number);
    std::optional<TextsError> closeField();
    std::optional<TextsError> endEntry();
    std::optional<TextsError> beginEntry();

    const PoEntryHandler& onEntry_;
    PoEntry entry_;
    bool started_ = false;
    bool hasId_ = false;
    bool hasTranslation_ = false;
    bool pendingFuzzy_ = false;
    Field field_ = Field::None;
    std::string_view fieldKeyword_;
    std::size_t fieldLine_ = 0;
    bool fieldHasString_ = false;
    std::string ignored_;
};

std::optional<TextsError> PoReader::readLine(std::string_view line, std::size_t number)
{
    std::size_t first = line.find_first_not_of(Blanks);
    if (first == std::string_view::npos) return std::nullopt;  // blank lines may stand anywhere
    line.remove_prefix(first);
    if (line.substr(0, 2) == "#~") {
        // An obsolete entry, with the comments in front of it, never applies.
        pendingFuzzy_ = false;
        return endEntry();
    }
    if (line.front() == '#') {
        if (auto error = endEntry()) return error;
        if (line.substr(0, 2) == "#,") pendingFuzzy_ = pendingFuzzy_ || hasFuzzyFlag(line.substr(2));
        return std::nullopt;
    }
    if (line.front() == '"') {
        if (field_ == Field::None) return TextsError{number, "a quoted string outside an entry"};
        return readStrings(line, number);
    }
    return readKeyword(line, number);
}

std::optional<TextsError> PoReader::readKeyword(std::string_view line, std::size_t number)
{
    std::size_t end = line.find_first_of(" \t\"");
    std::string_view keyword = line.substr(0, end);
    std::string_view rest = end == std::string_view::npos ? std::string_view() : line.substr(end);
    if (auto error = closeField()) return error;
    std::optional<TextsError> error;
    if (keyword == "msgctxt")
        error = startContext(number);
    else if (keyword == "msgid")
        error = startId(number);
    else if (keyword == "msgid_plural")
        error = startPlural(number);
    else if (keyword == "msgstr" || isIndexedMsgstr(keyword))
        error = startTranslation(keyword, number);
    else
        return TextsError{number, "expected msgctxt, msgid, msgstr, a quoted string or a comment"};
    if (error) return error;
    openField(keyword, number);
    return readStrings(rest, number);
}

std::optional<TextsError> PoReader::startContext(std::size_t number)
{
    if (auto error = beginEntry()) return error;
    entry_.context = PoField{number, {}};
    field_ = Field::Context;
    return std::nullopt;
}

std::optional<TextsError> PoReader::startId(std::size_t number)
{
    if (hasId_ || !started_) {
        if (auto error = beginEntry()) return error;
    }
    hasId_ = true;
    entry_.id.line = number;
    field_ = Field::Id;
    return std::nullopt;
}

std::optional<TextsError> PoReader::startPlural(std::size_t number)
{
    if (!hasId_ || entry_.plural || hasTranslation_) return TextsError{number, "msgid_plural must follow msgid"};
    entry_.plural = true;
    field_ = Field::Ignored;
    return std::nullopt;
}

std::optional<TextsError> PoReader::startTranslation(std::string_view keyword, std::size_t number)
{
    bool indexed = keyword != "msgstr";
    if (!hasId_) return TextsError{number, "msgstr must follow msgid"};
    if (indexed != entry_.plural)
        return TextsError{number, indexed ? "msgstr[N] belongs to an entry with msgid_plural"
                                          : "an entry with msgid_plural needs msgstr[N]"};
    if (!indexed && hasTranslation_) return TextsError{number, "the entry has a second msgstr"};
    bool first = !indexed || keyword == "msgstr[0]";
    if (first) entry_.translation.line = number;
    hasTranslation_ = true;
    field_ = first ? Field::Translation : Field::Ignored;
    return std::nullopt;
}

// Reads the quoted strings on the rest of a line into the open field.
std::optional<TextsError> PoReader::readStrings(std::string_view rest, std::size_t number)
{
    std::string& target = field_ == Field::Context       ? entry_.context->text
                          : field_ == Field::Id          ? entry_.id.text
                          : field_ == Field::Translation ? entry_.translation.text
                                                         : ignored_;
    for (std::size_t at = rest.find_first_not_of(Blanks); at != std::string_view::npos;
         at = rest.find_first_not_of(Blanks, at)) {
        if (rest[at] != '"') return TextsError{number, "unexpected text after " + std::string(fieldKeyword_)};
        ++at;
        if (auto reason = readQuoted(rest, at, target)) return TextsError{number, *reason};
        fieldHasString_ = true;
    }
    ignored_.clear();
    return std::nullopt;
}

// The strings that follow go to the field the keyword's start chose.
void PoReader::openField(std::string_view keyword, std::size_t number)
{
    fieldKeyword_ = keyword;
    fieldLine_ = number;
    fieldHasString_ = false;
}

std::optional<TextsError> PoReader::closeField()
{
    if (field_ != Field::None && !fieldHasString_)
        return TextsError{fieldLine_, std::string(fieldKeyword_) + " needs a quoted string"};
    field_ = Field::None;
    return std::nullopt;
}

// Hands on the entry read so far, which must be whole.
std::optional<TextsError> PoReader::endEntry()
{
    if (auto error = closeField()) return error;
    if (!started_) return std::nullopt;
    if (!hasId_) return TextsError{entry_.context->line, "msgctxt must be followed by msgid and msgstr"};
    if (!hasTranslation_) return TextsError{entry_.id.line, "the entry has no msgstr"};
    PoEntry entry = std::move(entry_);
    entry_ = {};
    started_ = hasId_ = hasTranslation_ = false;
    return onEntry_(entry);
}

std::optional<TextsError> PoReader::beginEntry()
{
    if (auto error = endEntry()) return error;
    started_ = true;
    entry_.fuzzy = pendingFuzzy_;
    pendingFuzzy_ = false;
    return std::nullopt;
}

void appendQuoted(std::string& out, std::string_view piece)
{
    out += '"';
    for (char ch : piece) {
        switch (ch) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default: out += ch; break;
        }
    }
    out += "\"\n";
}

}  // namespace

std::string poStatement(std::string_view keyword, std::string_view text)
{
    std::string out(keyword);
    out += ' ';
    std::size_t lineBreak = text.find('\n');
    if (lineBreak == std::string_view::npos || lineBreak + 1 == text.size()) {
        appendQuoted(out, text);
        return out;
    }
    out += "\"\"\n";
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
        appendQuoted(out, text.substr(0, length));
        text.remove_prefix(length);
    }
    return out;
}

std::optional<TextsError> forEachPoEntry(std::string_view text, const PoEntryHandler& onEntry)
{
    PoReader reader(onEntry);
    LineReader lines(text);
    while (auto line = lines.next())
        if (auto error = reader.readLine(*line, lines.lineNumber())) return error;
    return reader.finish();
}

bool startsWithPoEntry(std::string_view text)
{
    LineReader lines(text);
    while (auto line = lines.next()) {
        std::size_t first = line->find_first_not_of(Blanks);
        if (first == std::string_view::npos || (*line)[first] == '#') continue;
        std::string_view rest = line->substr(first);
        std::string_view keyword = rest.substr(0, rest.find_first_of(" \t\""));
        return keyword == "msgctxt" || keyword == "msgid";
    }
    return false;
}

}  // namespace quillet
