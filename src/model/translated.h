#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

namespace quillet {

// Messages for a person are written in English and marked with translated() or
// translatedPlural(), the keywords xgettext looks for. They come in the language of the locale
// once translateMessagesFrom() has named the folder of the compiled catalogues (the window does
// at start); until then, and in quillet-cli, whose output scripts read, they stay English.
void translateMessagesFrom(const std::string& localeFolder);
// Back to the English originals, as before translateMessagesFrom() (a test that turned them on).
void keepMessagesEnglish();
const char* translated(const char* message);
// The form of a message for `count`, with its "%n" replaced by the count.
std::string translatedPlural(const char* singular, const char* plural, unsigned long count);

// Marks a text for the translators where a table holds it; whoever shows it translates it then
// with translated().
constexpr const char* markedForTranslation(const char* message)
{
    return message;
}

// `text` with %1, %2, ... %9 replaced by `values` in order, in one pass, so that a value that
// holds "%2" stays as it is. The placeholders let a translation put the values where its
// language wants them.
std::string filled(std::string_view text, std::initializer_list<std::string_view> values);

}  // namespace quillet
