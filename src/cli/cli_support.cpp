#include "cli/cli_support.h"

#include <algorithm>
#include <iostream>
#include <new>

#include "cli/commands.h"
#include "model/file_io.h"
#include "model/load_check.h"
#include "model/loader.h"
#include "model/save_target.h"
#include "model/saver.h"
#include "model/utf8.h"

namespace quillet::cli {

namespace {
bool contains(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

class Parser {
public:
    Parser(const std::vector<std::string>& args, const CommandOptions& options) : args_(args), options_(options) {}

    std::optional<Arguments> run()
    {
        Arguments parsed;
        bool optionsEnded = false;
        for (i_ = 0; i_ < args_.size(); ++i_) {
            const std::string& arg = args_[i_];
            if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
                parsed.operands.push_back(arg);
            } else if (arg == "--") {
                optionsEnded = true;
            } else if (!takeOption(arg, parsed)) {
                return std::nullopt;
            }
        }
        return parsed;
    }

private:
    bool takeOption(const std::string& arg, Arguments& parsed)
    {
        std::size_t equals = arg.find('=');
        std::string name = arg.substr(0, equals);
        bool withValue = name == "--codepage" || contains(options_.valueOptions, name);
        if (contains(options_.flags, arg)) {
            parsed.flags.push_back(arg);
            return true;
        }
        if (!withValue) {
            usageError((options_.namesItselfInErrors ? options_.name + ": " : "") + "unknown option '" + arg + "'");
            return false;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i_ + 1 < args_.size()) {
            value = args_[++i_];
        } else {
            usageError(name == "--codepage" ? "--codepage needs a code page, such as 1251" : name + " needs a value");
            return false;
        }
        if (name != "--codepage") {
            parsed.values.emplace_back(name, value);
            return true;
        }
        auto chosen = CodePage::byName(value);
        if (!chosen) {
            usageError("unknown code page '" + value + "'");
            return false;
        }
        parsed.codePage = *chosen;
        return true;
    }

    const std::vector<std::string>& args_;
    const CommandOptions& options_;
    std::size_t i_ = 0;
};
}  // namespace

void reportError(const std::string& subject, const std::string& text)
{
    std::cerr << "quillet-cli: " << subject << ": " << text << "\n";
}

int usageError(const std::string& text)
{
    std::cerr << "quillet-cli: " << text << "\nTry 'quillet-cli --help'.\n";
    return ExitUsage;
}

bool Arguments::has(const std::string& flag) const
{
    return contains(flags, flag);
}

std::optional<std::string> Arguments::value(const std::string& option) const
{
    std::optional<std::string> found;
    for (const auto& [name, given] : values)
        if (name == option) found = given;
    return found;
}

std::optional<Arguments> parseArguments(const std::vector<std::string>& args, const CommandOptions& options)
{
    return Parser(args, options).run();
}

std::optional<std::u16string> textArgument(const std::string& argument)
{
    std::optional<std::u16string> units = unitsFromUtf8(argument);
    if (!units) usageError("the text '" + argument + "' is not valid UTF-8");
    return units;
}

std::optional<Document> loadOrReport(const std::string& path)
{
    try {
        return loadResource(path);
    } catch (const IoError& error) {
        reportError(path, error.what());
    } catch (const std::bad_alloc&) {
        reportError(path, "not enough memory to load it");
    }
    return std::nullopt;
}

bool reportIfSourceChanged(const Document& document, const std::string& source)
{
    if (!document.mappedFileChanged()) return false;
    reportError(source, FileChangedWhileRead("the output stops here").what());
    return true;
}

CheckedOutput& CheckedOutput::operator<<(const std::string& text)
{
    text_ += text;
    if (text_.size() > (1 << 20)) giveOut();
    return *this;
}

void CheckedOutput::giveOut()
{
    if (!changed_) changed_ = reportIfSourceChanged(document_, source_);
    if (!changed_) std::cout << text_;
    text_.clear();
}

bool CheckedOutput::finish()
{
    giveOut();
    return !changed_;
}

void warnOfLoadDifferences(const Document& document, const std::string& out)
{
    for (const LoadDifference& difference : loadDifferences(document))
        reportError(out, "warning: " + describeLoadDifference(difference));
}

bool saveOrReport(const Document& document, const std::string& source, const std::string& path)
{
    // Said, not refused: the person may mean to part the names.
    std::uint64_t names = namesOfSaveTarget(path);
    if (names > 1) reportError(path, "warning: " + severalNamesWarning(path, names));
    try {
        saveResource(document, path);
        return true;
    } catch (const FileChangedWhileRead& error) {
        reportError(source, error.what());
    } catch (const IoError& error) {
        reportError(path, error.what());
    } catch (const std::bad_alloc&) {
        reportError(path, "not enough memory to save it; nothing was written");
    }
    return false;
}

}  // namespace quillet::cli
