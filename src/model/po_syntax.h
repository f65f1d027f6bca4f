#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "model/result.h"

// The grammar of gettext PO files, as the gettext tools read and write them.
namespace quillet {

// One string of an entry, its escapes resolved, and the line of its keyword.
struct PoField {
    std::size_t line = 0;
    std::string text;
};

// An entry that is not obsolete. The translation of a plural entry is its msgstr[0].
struct PoEntry {
    bool fuzzy = false;
    bool plural = false;
    std::optional<PoField> context;
    PoField id;
    PoField translation;
};

// `keyword "text"` as gettext lays it out: a text with a line break before its end starts
// with "" and continues one line of text per file line.
std::string poStatement(std::string_view keyword, std::string_view text);

// Calls onEntry for every entry that is not obsolete, in file order; "#~" entries, blank lines
// and comments are passed over, a UTF-8 byte order mark and CR LF line ends are accepted. Stops
// at the first syntax error or the first failure onEntry gives, and returns it; a syntax error
// names its line.
using PoEntryHandler = std::function<Result<void>(const PoEntry&)>;
Result<void> forEachPoEntry(std::string_view text, const PoEntryHandler& onEntry);

// Whether the first line that is neither blank nor a comment starts an entry.
bool startsWithPoEntry(std::string_view text);

}  // namespace quillet
