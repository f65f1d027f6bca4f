#pragma once
#include <QString>

class QCoreApplication;

namespace quillet {

// Where the compiled translations are: the window's .qm files, and the gettext catalogues of
// the core's messages (a folder of LANGUAGE/LC_MESSAGES/quillet.mo).
struct TranslationFolders {
    QString window;
    QString core;
};

// The folders of an installed program, or of the build folder when the program runs from it.
TranslationFolders translationFolders();

// Translates the window, Qt's own buttons and texts, and the core's messages into the languages
// the locale asks for (LANGUAGE, then LC_ALL, LC_MESSAGES and LANG). What has no translation
// stays English.
void loadTranslations(QCoreApplication& application, const TranslationFolders& folders);

}  // namespace quillet
