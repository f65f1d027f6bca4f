#include "cli/shown_text.h"

#include "model/hex.h"

namespace quillet::cli {

namespace {

const char* namedEscape(unsigned char ch)
{
    switch (ch) {
    case '\a': return "\\a";
    case '\b': return "\\b";
    case '\t': return "\\t";
    case '\n': return "\\n";
    case '\v': return "\\v";
    case '\f': return "\\f";
    case '\r': return "\\r";
    case 0x1B: return "\\e";
    default: return nullptr;
    }
}

bool isControl(unsigned char ch)
{
    return ch < 0x20 || ch == 0x7F;
}

// A C1 control (U+0080 to U+009F) is C2 80 to C2 9F in UTF-8.
bool isC1At(std::string_view utf8, std::size_t at)
{
    return static_cast<unsigned char>(utf8[at]) == 0xC2 && at + 1 < utf8.size() &&
           static_cast<unsigned char>(utf8[at + 1]) >= 0x80 && static_cast<unsigned char>(utf8[at + 1]) <= 0x9F;
}

bool holdsControls(std::string_view utf8)
{
    for (std::size_t at = 0; at < utf8.size(); ++at)
        if (isControl(static_cast<unsigned char>(utf8[at])) || isC1At(utf8, at)) return true;
    return false;
}

}  // namespace

std::string withEscapedControls(std::string_view utf8, bool backslashes)
{
    std::string shown;
    shown.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size(); ++at) {
        auto ch = static_cast<unsigned char>(utf8[at]);
        if (isC1At(utf8, at)) {
            shown += "\\u00";
            appendHexByte(shown, static_cast<unsigned char>(utf8[++at]));
        } else if (!isControl(ch)) {
            shown += backslashes && ch == '\\' ? "\\\\" : std::string(1, static_cast<char>(ch));
        } else if (const char* escape = namedEscape(ch)) {
            shown += escape;
        } else {
            shown += "\\x";
            appendHexByte(shown, ch);
        }
    }
    return shown;
}

std::string shownName(const std::string& name)
{
    if (!holdsControls(name)) return name;
    std::string quoted = "'";
    for (char ch : withEscapedControls(name, true)) quoted += ch == '\'' ? std::string("\\'") : std::string(1, ch);
    return quoted + "'";
}

}  // namespace quillet::cli
