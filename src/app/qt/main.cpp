#include <QApplication>
#include <QCommandLineParser>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/editor.h"
#include "app/qt/about_box.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_prompts.h"
#include "app/qt/translations.h"
#include "model/codepage.h"
#include "search/qt/find_dialog.h"
#include "search/qt/replace_dialog.h"

namespace {

struct CommandLine {
    quillet::CodePage codePage = quillet::CodePage::system();
    std::optional<std::string> file;
};

// The usual Qt command line: --help, --version, --codepage CP and an optional FILE. A bad one
// ends the program with a message and exit status 2.
CommandLine parseCommandLine(const QCoreApplication& application)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate("CommandLine", "Edit the resource file FILE (.rsc)."));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption codePageOption(
        QStringLiteral("codepage"),
        QCoreApplication::translate("CommandLine",
                                    "The 8-bit code page of the texts, e.g. 1251 or windows-1252 (default: from "
                                    "the locale)."),
        QCoreApplication::translate("CommandLine", "CP"));
    parser.addOption(codePageOption);
    parser.addPositionalArgument(QCoreApplication::translate("CommandLine", "FILE"),
                                 QCoreApplication::translate("CommandLine", "The resource file to open."),
                                 QCoreApplication::translate("CommandLine", "[FILE]"));
    if (!parser.parse(application.arguments())) {
        std::fprintf(stderr, "quillet: %s\n", qPrintable(parser.errorText()));
        std::exit(2);
    }
    if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version"))) parser.showVersion();

    CommandLine line;
    if (parser.isSet(codePageOption)) {
        std::string name = parser.value(codePageOption).toStdString();
        std::optional<quillet::CodePage> chosen = quillet::CodePage::byName(name);
        if (!chosen) {
            QString message = QCoreApplication::translate("CommandLine", "unknown code page '%1'");
            std::fprintf(stderr, "quillet: %s\n", qPrintable(message.arg(QString::fromStdString(name))));
            std::exit(2);
        }
        line.codePage = *chosen;
    }
    if (!parser.positionalArguments().isEmpty())
        line.file = QFile::encodeName(parser.positionalArguments().constFirst()).toStdString();
    return line;
}

// Names the program and loads the translations, which --help already speaks.
void prepareApplication(QCoreApplication& application)
{
    QCoreApplication::setApplicationName(QStringLiteral("quillet"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLET_VERSION));
    quillet::loadTranslations(application, quillet::translationFolders());
}

// --help and --version answer without a display.
bool asksForInformationOnly(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--") return false;
        if (argument == "--help" || argument == "-h" || argument == "--help-all" || argument == "--version" ||
            argument == "-v")
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (asksForInformationOnly(argc, argv)) {
        QCoreApplication information(argc, argv);
        prepareApplication(information);
        parseCommandLine(information);
        return 0;
    }
    QApplication application(argc, argv);
    prepareApplication(application);
    // Desktops find the window's entry and icon by this name (Wayland's app id).
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLET_APP_ID));
    CommandLine commandLine = parseCommandLine(application);

    quillet::QtPrompts prompts;
    quillet::Editor editor(prompts, commandLine.codePage);
    // The windows are made in the order: main window, find dialog, about box, replace dialog.
    quillet::MainWindow mainWindow(editor, commandLine.file);
    prompts.setParentWidget(&mainWindow);
    quillet::FindDialog findDialog(commandLine.codePage, &mainWindow);
    prompts.setFindDialog([&findDialog](quillet::FindFields& fields) { return findDialog.run(fields); });
    quillet::AboutBox aboutBox(&mainWindow);
    prompts.setAboutBox([&aboutBox] { aboutBox.exec(); });
    quillet::ReplaceDialog replaceDialog(commandLine.codePage, &mainWindow);
    prompts.setReplaceDialog([&replaceDialog](quillet::ReplaceFields& fields) { return replaceDialog.run(fields); });

    mainWindow.show();
    return application.exec();
}
