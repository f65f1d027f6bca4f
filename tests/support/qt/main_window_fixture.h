#pragma once
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "app/qt/main_window.h"
#include "support/editor_fixture.h"

namespace quillet::test {

inline const std::string SamplePath = std::string(QUILLET_EXAMPLES_DIR) + "/sample.rsc";

// The main window on the sample file, with scripted prompts and a placement file of its own.
class MainWindowTest : public EditorFixture {
protected:
    void showWindow(std::optional<std::string> firstArgument)
    {
        placementPath = folder.filePath(QStringLiteral("placement.ini"));
        window = std::make_unique<MainWindow>(editor, std::move(firstArgument), placementPath);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QApplication::processEvents();
    }

    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    std::optional<std::size_t> currentSegment() const { return editor.state().selectedSegment; }

    QTemporaryDir folder;
    QString placementPath;
    std::unique_ptr<MainWindow> window;
};

inline QAction* actionNamed(const QList<QAction*>& actions, const QString& text)
{
    for (QAction* action : actions)
        if (action->text() == text) return action;
    return nullptr;
}

inline QMenu* menuNamed(MainWindow& window, const QString& title)
{
    for (QAction* action : window.menuBar()->actions())
        if (action->text() == title) return action->menu();
    return nullptr;
}

}  // namespace quillet::test
