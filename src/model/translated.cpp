#include "model/translated.h"

#include <libintl.h>

#include <atomic>
#include <vector>

namespace quillet {

namespace {

constexpr const char* Domain = "quillet";
std::atomic<bool> translating{false};

}  // namespace

void translateMessagesFrom(const std::string& localeFolder)
{
    bindtextdomain(Domain, localeFolder.c_str());
    // The messages go to the window as UTF-8, whatever the locale's own character set.
    bind_textdomain_codeset(Domain, "UTF-8");
    translating = true;
}

void keepMessagesEnglish()
{
    translating = false;
}

const char* translated(const char* message)
{
    return translating ? dgettext(Domain, message) : message;
}

std::string translatedPlural(const char* singular, const char* plural, unsigned long count)
{
    std::string text = translating ? dngettext(Domain, singular, plural, count) : (count == 1 ? singular : plural);
    std::string number = std::to_string(count);
    for (std::size_t at = text.find("%n"); at != std::string::npos; at = text.find("%n", at + number.size()))
        text.replace(at, 2, number);
    return text;
}

std::string filled(std::string_view text, std::initializer_list<std::string_view> values)
{
    std::vector<std::string_view> byNumber(values);
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        bool placeholder = text[at] == '%' && at + 1 < text.size() && text[at + 1] >= '1' && text[at + 1] <= '9';
        std::size_t index = placeholder ? static_cast<std::size_t>(text[at + 1] - '1') : 0;
        if (placeholder && index < byNumber.size()) {
            out += byNumber[index];
            ++at;
        } else {
            out += text[at];
        }
    }
    return out;
}

}  // namespace quillet
