#include "app/qt/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "model/translated.h"

namespace quillet {

namespace {

// Loads one catalogue for the locale's languages; a language without it is no error.
void loadCatalogue(QCoreApplication& application, const QString& name, const QString& folder)
{
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(), name, QStringLiteral("_"), folder))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

}  // namespace

TranslationFolders translationFolders()
{
    // The build puts its translations into "locale" beside the programs.
    QString built = QCoreApplication::applicationDirPath() + QStringLiteral("/locale");
    if (QDir(built).exists()) return {built, built};
    return {QStringLiteral(QUILLET_WINDOW_TRANSLATIONS_DIR), QStringLiteral(QUILLET_CORE_TRANSLATIONS_DIR)};
}

void loadTranslations(QCoreApplication& application, const TranslationFolders& folders)
{
    loadCatalogue(application, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    loadCatalogue(application, QStringLiteral("quillet"), folders.window);
    translateMessagesFrom(QFile::encodeName(folders.core).toStdString());
}

}  // namespace quillet
