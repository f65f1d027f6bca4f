#include <QApplication>

#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/editor.h"
#include "app/qt/about_box.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_prompts.h"
#include "model/codepage.h"
#include "search/qt/find_dialog.h"
#include "search/qt/replace_dialog.h"

namespace {

const char* const usage =
    "Usage: quillet [--codepage CP] [FILE]\n"
    "Edit the resource file FILE (.rsc).\n"
    "\n"
    "  --codepage CP  the 8-bit code page of the texts, e.g. 1251 or windows-1252\n"
    "                 (default: from the locale)\n"
    "  --help         show this help and exit\n"
    "  --version      show the version and exit\n";

struct CommandLine {
    std::optional<std::string> codePageName;
    std::optional<std::string> file;
    std::optional<std::string> error;
};

// Looked at before the application object exists, so that they work without a display.
bool handledInformationOption(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) return false;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << usage;
            return true;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "quillet " << QUILLET_VERSION << "\n";
            return true;
        }
    }
    return false;
}

// The arguments left after Qt took its own; the first one that is not an option is the file.
CommandLine parseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument == "--codepage") {
            if (i + 1 == arguments.size()) {
                line.error = "option --codepage needs a code page";
                return line;
            }
            line.codePageName = arguments[++i];
        } else if (!optionsEnded && argument.rfind("--codepage=", 0) == 0) {
            line.codePageName = argument.substr(std::strlen("--codepage="));
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            line.error = "unknown option " + argument;
            return line;
        } else if (!line.file) {
            line.file = argument;
        }
    }
    return line;
}

}  // namespace

int main(int argc, char** argv)
{
    if (handledInformationOption(argc, argv)) return 0;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillet"));

    std::vector<std::string> arguments(argv, argv + argc);
    CommandLine commandLine = parseCommandLine(arguments);
    if (commandLine.error) {
        std::cerr << "quillet: " << *commandLine.error << "\n" << usage;
        return 2;
    }
    std::optional<quillet::CodePage> codePage = quillet::CodePage::system();
    if (commandLine.codePageName) {
        codePage = quillet::CodePage::byName(*commandLine.codePageName);
        if (!codePage) {
            std::cerr << "quillet: unknown code page " << *commandLine.codePageName << "\n";
            return 2;
        }
    }

    quillet::QtPrompts prompts(*codePage);
    quillet::Editor editor(prompts, *codePage);
    // The windows are made in the order: main window, find dialog, about box, replace dialog.
    quillet::MainWindow formMain(editor, commandLine.file);
    prompts.setParentWidget(&formMain);
    quillet::FindDialog formFind(*codePage, &formMain);
    prompts.setFindDialog([&formFind](quillet::FindFields& fields) { return formFind.run(fields); });
    quillet::AboutBox aboutBox(&formMain);
    prompts.setAboutBox([&aboutBox] { aboutBox.exec(); });
    quillet::ReplaceDialog formReplace(*codePage, &formMain);
    prompts.setReplaceDialog(
        [&formReplace](quillet::ReplaceFields& fields) { return formReplace.run(fields); });

    formMain.show();
    return application.exec();
}
