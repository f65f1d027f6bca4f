#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QStringList>

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

QStringList heldStartupMessages;

bool lacksDisplay()
{
    for (const QString& message : heldStartupMessages)
        if (message.contains(QStringLiteral("could not connect to display"))) return true;
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// While the application starts, Qt's messages are held: without a display Qt would end the
// program with its own advice to reinstall it (and status 134). The person learns instead that
// there is no display and that quillet-cli needs none.
void holdStartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) {
        heldStartupMessages << qFormatLogMessage(type, context, message);
        return;
    }
    if (lacksDisplay()) {
        std::fputs("quillet: no display to open a window on; quillet-cli works without one\n", stderr);
    } else {
        for (const QString& held : heldStartupMessages) std::fprintf(stderr, "%s\n", qPrintable(held));
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    }
    std::fflush(stderr);
    std::_Exit(1);
}

// The application started: Qt's messages go out as usual, those held first.
void releaseStartupMessages()
{
    qInstallMessageHandler(nullptr);
    for (const QString& held : heldStartupMessages) std::fprintf(stderr, "%s\n", qPrintable(held));
    heldStartupMessages.clear();
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
    qInstallMessageHandler(holdStartupMessage);
    QApplication application(argc, argv);
    releaseStartupMessages();
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
