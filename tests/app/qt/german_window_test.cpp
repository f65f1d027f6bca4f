#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSet>
#include <QTranslator>

#include <gtest/gtest.h>

#include "app/qt/translations.h"
#include "model/translated.h"
#include "support/german_locale.h"
#include "support/qt/main_window_fixture.h"

namespace quillet {
namespace {

using test::actionNamed;
using test::menuNamed;

// The window as a German desktop shows it: Qt's locale German, the window's and Qt's
// translations loaded from the build folder, and the core's messages German where a German
// locale can be had. Everything English again afterwards, for the tests that follow.
class GermanWindowTest : public test::MainWindowTest {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QString folder = QStringLiteral(QUILLET_LOCALE_BUILD_DIR);
        loadTranslations(*QCoreApplication::instance(), {folder, folder});
    }
    void TearDown() override
    {
        qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator*>());
        keepMessagesEnglish();
        QLocale::setDefault(englishLocale);
    }

    QLocale englishLocale;
    test::GermanMessages germanMessages;
};

// The letter after each "&" of the menu's items.
QList<QChar> accessKeys(const QList<QAction*>& actions)
{
    QList<QChar> keys;
    for (QAction* action : actions) {
        QString text = action->text().replace(QStringLiteral("&&"), QString());
        qsizetype at = text.indexOf(QLatin1Char('&'));
        if (at >= 0 && at + 1 < text.size()) keys.append(text.at(at + 1).toLower());
    }
    return keys;
}

TEST_F(GermanWindowTest, MenusAndTheirItemsAreGerman)
{
    showWindow(std::nullopt);
    QMenu* file = menuNamed(*window, QStringLiteral("&Datei"));
    ASSERT_NE(file, nullptr);
    EXPECT_NE(actionNamed(file->actions(), QStringLiteral("Ö&ffnen")), nullptr);
    EXPECT_NE(actionNamed(file->actions(), QStringLiteral("Speichern &unter")), nullptr);
    QMenu* edit = menuNamed(*window, QStringLiteral("&Bearbeiten"));
    ASSERT_NE(edit, nullptr);
    EXPECT_NE(actionNamed(edit->actions(), QStringLiteral("&Suchen")), nullptr);
    EXPECT_NE(actionNamed(edit->actions(), QStringLiteral("&Rückgängig")), nullptr);
}

TEST_F(GermanWindowTest, EveryMenuKeepsItsAccessKeysApart)
{
    showWindow(std::nullopt);
    QList<QMenu*> menus{window->gridPopup()};
    for (QAction* title : window->menuBar()->actions())
        if (title->menu()) menus.append(title->menu());
    QList<QList<QAction*>> lists{window->menuBar()->actions()};
    for (QMenu* menu : menus) lists.append(menu->actions());
    for (const QList<QAction*>& actions : lists) {
        QList<QChar> keys = accessKeys(actions);
        QSet<QChar> distinct(keys.begin(), keys.end());
        QStringList texts;
        for (QAction* action : actions) texts.append(action->text());
        EXPECT_EQ(distinct.size(), keys.size()) << texts.join(QStringLiteral(" | ")).toStdString();
    }
}

TEST_F(GermanWindowTest, QtsOwnButtonsAreGerman)
{
    QDialogButtonBox buttons(QDialogButtonBox::Yes | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Yes)->text(), QStringLiteral("&Ja"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
}

TEST_F(GermanWindowTest, TheCoreSaysInGermanWhatWasTyped)
{
    if (!germanMessages.available()) GTEST_SKIP() << "no German locale and no localedef to make one";
    showWindow(test::SamplePath);
    editor.selectSegment(5);
    window->refresh();
    QLineEdit* edit = window->textLine();
    edit->setFocus();
    edit->end(false);
    QTest::keyClicks(edit, QStringLiteral("!"));
    EXPECT_EQ(window->messagePanel()->text(), QStringLiteral("Bereits 14 Zeichen eingegeben"));
}

}  // namespace
}  // namespace quillet
