#pragma once
#include <optional>
#include <string>

namespace quillet::test {

// gettext speaks a language only under an installed locale of it, and test machines often have
// no more than C.UTF-8. GermanMessages makes de_DE.UTF-8 once with localedef in a scratch folder
// (LOCPATH) and switches LC_MESSAGES to it for its lifetime, with LANGUAGE unset; the old
// settings come back when it goes. available() is false where localedef or the locale's
// sources are missing: the test then skips.
class GermanMessages {
public:
    GermanMessages();
    ~GermanMessages();
    GermanMessages(const GermanMessages&) = delete;
    GermanMessages& operator=(const GermanMessages&) = delete;

    bool available() const { return available_; }

private:
    bool available_ = false;
    std::string previousMessagesLocale_;
    std::optional<std::string> previousLocPath_;
    std::optional<std::string> previousLanguage_;
};

}  // namespace quillet::test
