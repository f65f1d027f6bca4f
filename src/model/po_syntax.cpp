#include "model/po_syntax.h"

#include "model/hex.h"
#include "model/line_reader.h"
#include "model/translated.h"

namespace quillet {

namespace {

constexpr std::string_view Blanks = " \t";

bool isOctalDigit(char ch)
{
    return ch >= '0' && ch <= '7';
}

Result<void> appendEscapedByte(std::string& out, unsigned value)
{
    if (value > 0xFF) return Failure{translated("the escape's value does not fit in a byte")};
    if (value == 0) return Failure{translated("a PO string cannot hold a character 0")};
    out += static_cast<char>(value);
    return {};
}

// The escapes gettext knows: the C ones, octal and hex. `at` is just past the backslash.
Result<void> readEscape(std::string_view line, std::size_t& at, std::string& out)
{
    if (at >= line.size()) return Failure{translated("the string has no closing quote")};
    char escape = line[at++];
    switch (escape) {
    case 'n': out += '\n'; return {};
    case 't': out += '\t'; return {};
    case 'r': out += '\r'; return {};
    case 'a': out += '\a'; return {};
    case 'b': out += '\b'; return {};
    case 'f': out += '\f'; return {};
    case 'v': out += '\v'; return {};
    case '\\':
    case '"': out += escape; return {};
    case 'x': {
        unsigned value = 0;
        std::size_t digits = 0;
        for (; at < line.size() && value <= 0xFF; ++at, ++digits) {
            std::optional<unsigned> digit = hexDigitValue(line[at]);
            if (!digit) break;
            value = value * 16 + *digit;
        }
        if (digits == 0) return Failure{translated("\\x needs hex digits")};
        return appendEscapedByte(out, value);
    }
    default: break;
    }
    if (!isOctalDigit(escape)) {
        bool printable = escape > ' ' && escape < 0x7F;
        return Failure{printable ? filled(translated("unknown escape \\%1"), {std::string(1, escape)})
                                 : translated("unknown escape after \\")};
    }
    unsigned value = static_cast<unsigned>(escape - '0');
    for (int digits = 1; digits < 3 && at < line.size() && isOctalDigit(line[at]); ++digits, ++at)
        value = value * 8 + static_cast<unsigned>(line[at] - '0');
    return appendEscapedByte(out, value);
}

// One quoted string; `at` is just past its opening quote and ends past its closing one.
Result<void> readQuoted(std::string_view line, std::size_t& at, std::string& out)
{
    while (at < line.size()) {
        char ch = line[at++];
        if (ch == '"') return {};
        if (ch != '\\') {
            out += ch;
        } else if (Result<void> escaped = readEscape(line, at, out); !escaped) {
            return escaped;
        }
    }
    return Failure{translated("the string has no closing quote")};
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

    Result<void> readLine(std::string_view line, std::size_t number);
    Result<void> finish() { return endEntry(); }

private:
    // Where the quoted strings after a keyword go.
    enum class Field { None, Context, Id, Translation, Ignored };

    Result<void> readKeyword(std::string_view line, std::size_t number);
    Result<void> readStrings(std::string_view rest, std::size_t number);
    Result<void> startContext(std::size_t number);
    Result<void> startId(std::size_t number);
    Result<void> startPlural(std::size_t number);
    Result<void> startTranslation(std::string_view keyword, std::size_t number);
    void openField(std::string_view keyword, std::size_t number);
    Result<void> closeField();
    Result<void> endEntry();
    Result<void> beginEntry();

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

Result<void> PoReader::readLine(std::string_view line, std::size_t number)
{
    std::size_t first = line.find_first_not_of(Blanks);
    if (first == std::string_view::npos) return {};  // blank lines may stand anywhere
    line.remove_prefix(first);
    if (line.substr(0, 2) == "#~") {
        // An obsolete entry, with the comments in front of it, never applies.
        pendingFuzzy_ = false;
        return endEntry();
    }
    if (line.front() == '#') {
        if (Result<void> done = endEntry(); !done) return done;
        if (line.substr(0, 2) == "#,") pendingFuzzy_ = pendingFuzzy_ || hasFuzzyFlag(line.substr(2));
        return {};
    }
    if (line.front() == '"') {
        if (field_ == Field::None) return Failure{translated("a quoted string outside an entry"), number};
        return readStrings(line, number);
    }
    return readKeyword(line, number);
}

Result<void> PoReader::readKeyword(std::string_view line, std::size_t number)
{
    std::size_t end = line.find_first_of(" \t\"");
    std::string_view keyword = line.substr(0, end);
    std::string_view rest = end == std::string_view::npos ? std::string_view() : line.substr(end);
    if (Result<void> done = closeField(); !done) return done;
    Result<void> started;
    if (keyword == "msgctxt")
        started = startContext(number);
    else if (keyword == "msgid")
        started = startId(number);
    else if (keyword == "msgid_plural")
        started = startPlural(number);
    else if (keyword == "msgstr" || isIndexedMsgstr(keyword))
        started = startTranslation(keyword, number);
    else
        return Failure{translated("expected msgctxt, msgid, msgstr, a quoted string or a comment"), number};
    if (!started) return started;
    openField(keyword, number);
    return readStrings(rest, number);
}

Result<void> PoReader::startContext(std::size_t number)
{
    if (Result<void> done = beginEntry(); !done) return done;
    entry_.context = PoField{number, {}};
    field_ = Field::Context;
    return {};
}

Result<void> PoReader::startId(std::size_t number)
{
    if (hasId_ || !started_) {
        if (Result<void> done = beginEntry(); !done) return done;
    }
    hasId_ = true;
    entry_.id.line = number;
    field_ = Field::Id;
    return {};
}

Result<void> PoReader::startPlural(std::size_t number)
{
    if (!hasId_ || entry_.plural || hasTranslation_)
        return Failure{translated("msgid_plural must follow msgid"), number};
    entry_.plural = true;
    field_ = Field::Ignored;
    return {};
}

Result<void> PoReader::startTranslation(std::string_view keyword, std::size_t number)
{
    bool indexed = keyword != "msgstr";
    if (!hasId_) return Failure{translated("msgstr must follow msgid"), number};
    if (indexed != entry_.plural)
        return Failure{indexed ? translated("msgstr[N] belongs to an entry with msgid_plural")
                               : translated("an entry with msgid_plural needs msgstr[N]"),
                       number};
    if (!indexed && hasTranslation_) return Failure{translated("the entry has a second msgstr"), number};
    bool first = !indexed || keyword == "msgstr[0]";
    if (first) entry_.translation.line = number;
    hasTranslation_ = true;
    field_ = first ? Field::Translation : Field::Ignored;
    return {};
}

// Reads the quoted strings on the rest of a line into the open field.
Result<void> PoReader::readStrings(std::string_view rest, std::size_t number)
{
    std::string& target = field_ == Field::Context       ? entry_.context->text
                          : field_ == Field::Id          ? entry_.id.text
                          : field_ == Field::Translation ? entry_.translation.text
                                                         : ignored_;
    for (std::size_t at = rest.find_first_not_of(Blanks); at != std::string_view::npos;
         at = rest.find_first_not_of(Blanks, at)) {
        if (rest[at] != '"') return Failure{filled(translated("unexpected text after %1"), {fieldKeyword_}), number};
        ++at;
        if (Result<void> quoted = readQuoted(rest, at, target); !quoted) return quoted.failure().onLine(number);
        fieldHasString_ = true;
    }
    ignored_.clear();
    return {};
}

// The strings that follow go to the field the keyword's start chose.
void PoReader::openField(std::string_view keyword, std::size_t number)
{
    fieldKeyword_ = keyword;
    fieldLine_ = number;
    fieldHasString_ = false;
}

Result<void> PoReader::closeField()
{
    if (field_ != Field::None && !fieldHasString_)
        return Failure{filled(translated("%1 needs a quoted string"), {fieldKeyword_}), fieldLine_};
    field_ = Field::None;
    return {};
}

// Hands on the entry read so far, which must be whole.
Result<void> PoReader::endEntry()
{
    if (Result<void> done = closeField(); !done) return done;
    if (!started_) return {};
    if (!hasId_) return Failure{translated("msgctxt must be followed by msgid and msgstr"), entry_.context->line};
    if (!hasTranslation_) return Failure{translated("the entry has no msgstr"), entry_.id.line};
    PoEntry entry = std::move(entry_);
    entry_ = {};
    started_ = hasId_ = hasTranslation_ = false;
    return onEntry_(entry);
}

Result<void> PoReader::beginEntry()
{
    if (Result<void> done = endEntry(); !done) return done;
    started_ = true;
    entry_.fuzzy = pendingFuzzy_;
    pendingFuzzy_ = false;
    return {};
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

Result<void> forEachPoEntry(std::string_view text, const PoEntryHandler& onEntry)
{
    PoReader reader(onEntry);
    LineReader lines(text);
    while (auto line = lines.next())
        if (Result<void> done = reader.readLine(*line, lines.lineNumber()); !done) return done;
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
