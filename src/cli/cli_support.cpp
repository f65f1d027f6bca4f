#include "cli/cli_support.h"

#include <iostream>

#include "cli/commands.h"
#include "model/file_io.h"
#include "model/loader.h"
#include "model/saver.h"

namespace quillet::cli {

void reportError(const std::string& subject, const std::string& text)
{
    std::cerr << "quillet-cli: " << subject << ": " << text << "\n";
}

int usageError(const std::string& text)
{
    std::cerr << "quillet-cli: " << text << "\nTry 'quillet-cli --help'.\n";
    return ExitUsage;
}

bool takeFlag(std::vector<std::string>& args, const std::string& flag)
{
    for (auto it = args.begin(); it != args.end(); ++it) {
        if (*it == "--") return false;
        if (*it == flag) {
            args.erase(it);
            return true;
        }
    }
    return false;
}

bool takeCodePage(std::vector<std::string>& args, CodePage& codePage)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--") return true;
        std::string name;
        std::size_t taken = 0;
        if (args[i] == "--codepage") {
            if (i + 1 >= args.size()) {
                usageError("--codepage needs a code page, such as 1251");
                return false;
            }
            name = args[i + 1];
            taken = 2;
        } else if (args[i].rfind("--codepage=", 0) == 0) {
            name = args[i].substr(11);
            taken = 1;
        } else {
            continue;
        }
        auto chosen = CodePage::byName(name);
        if (!chosen) {
            usageError("unknown code page '" + name + "'");
            return false;
        }
        codePage = *chosen;
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i + taken));
        return true;
    }
    return true;
}

std::optional<std::string> firstOption(const std::vector<std::string>& args)
{
    for (const std::string& arg : args) {
        if (arg == "--") return std::nullopt;
        if (arg.size() > 1 && arg[0] == '-') return arg;
    }
    return std::nullopt;
}

std::optional<Document> loadOrReport(const std::string& path, const CodePage& codePage)
{
    try {
        return loadResource(path, codePage);
    } catch (const IoError& error) {
        reportError(path, error.what());
        return std::nullopt;
    }
}

bool saveOrReport(const Document& document, const std::string& path)
{
    try {
        saveResource(document, path);
        return true;
    } catch (const IoError& error) {
        reportError(path, error.what());
        return false;
    }
}

}  // namespace quillet::cli
