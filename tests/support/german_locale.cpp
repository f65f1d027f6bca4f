#include "support/german_locale.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>

#include "support/scratch_folder.h"

namespace quillet::test {

namespace {

constexpr const char* LocaleName = "de_DE.UTF-8";

// The folder that holds the made locale, made on first use and removed at the end of the run;
// nothing when it cannot be made.
const std::optional<std::string>& madeLocaleFolder()
{
    static ScratchFolder folder;
    static const std::optional<std::string> made = []() -> std::optional<std::string> {
        std::string command = "localedef -i de_DE -f UTF-8 '" + (folder / LocaleName) + "' >/dev/null 2>&1";
        int status = std::system(command.c_str());
        if (status != 0 || !std::filesystem::exists(folder / LocaleName + "/LC_MESSAGES")) return std::nullopt;
        return folder.path();
    }();
    return made;
}

std::optional<std::string> environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

void restore(const char* name, const std::optional<std::string>& value)
{
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
}

}  // namespace

GermanMessages::GermanMessages()
    : previousMessagesLocale_(std::setlocale(LC_MESSAGES, nullptr)),
      previousLocPath_(environment("LOCPATH")),
      previousLanguage_(environment("LANGUAGE"))
{
    unsetenv("LANGUAGE");
    // An installed German locale serves as well as a made one.
    available_ = std::setlocale(LC_MESSAGES, LocaleName) != nullptr;
    if (available_ || !madeLocaleFolder()) return;
    setenv("LOCPATH", madeLocaleFolder()->c_str(), 1);
    available_ = std::setlocale(LC_MESSAGES, LocaleName) != nullptr;
}

GermanMessages::~GermanMessages()
{
    std::setlocale(LC_MESSAGES, previousMessagesLocale_.c_str());
    restore("LOCPATH", previousLocPath_);
    restore("LANGUAGE", previousLanguage_);
}

}  // namespace quillet::test
