#include "app/placement.h"
#include "app/qt/placement_storage.h"

#include <QFile>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace quillet {
namespace {

// The section every placement file uses.
const QString Header = QStringLiteral("[") + QString::fromLatin1(PlacementSection) + QStringLiteral("]\n");

QString fileText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(file.readAll());
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

class PlacementStorageTest : public ::testing::Test {
protected:
    QString iniPath() const { return folder.filePath(QStringLiteral("config/quillet/quillet.INI")); }

    // A window at its design size, restored from the file and shown, as the program starts.
    void startWindow(QMainWindow& window, PlacementStorage*& placement)
    {
        window.resize(400, 300);
        placement = new PlacementStorage(&window, iniPath());
        placement->setFailureReporter([this](const QString& reason) { reports.append(reason); });
        placement->restore();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // Centring places the frame, whose size is only known once the window is shown.
    static bool centredAtDesignSize(const QWidget& window)
    {
        QPoint offset = window.geometry().center() - QGuiApplication::primaryScreen()->availableGeometry().center();
        return window.size() == QSize(400, 300) && offset.manhattanLength() <= 16;
    }

    QTemporaryDir folder;
    QStringList reports;
};

TEST_F(PlacementStorageTest, TheWindowReopensWhereItWasClosed)
{
    {
        QMainWindow window;
        PlacementStorage* placement = nullptr;
        startWindow(window, placement);
        EXPECT_TRUE(centredAtDesignSize(window)) << "no file yet: design size, centred";
        window.setGeometry(37, 45, 321, 234);
        QCoreApplication::processEvents();
        EXPECT_EQ(placement->save(), std::nullopt);
    }
    QString text = fileText(iniPath());
    EXPECT_TRUE(text.startsWith((Header + QStringLiteral("FormVersion=0\nFlags=0\nShowCmd=1\nPixelsPerInch="))))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nNormPos=37,45,358,279\nVisible=0\n"))) << text.toStdString();

    QMainWindow window;
    PlacementStorage* placement = nullptr;
    startWindow(window, placement);
    EXPECT_EQ(window.geometry(), QRect(37, 45, 321, 234));
    EXPECT_FALSE(window.isMaximized());
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(PlacementStorageTest, AMaximisedWindowReopensMaximisedOverItsNormalRectangle)
{
    {
        QMainWindow window;
        PlacementStorage* placement = nullptr;
        startWindow(window, placement);
        window.setGeometry(50, 60, 300, 200);
        window.showMaximized();
        QCoreApplication::processEvents();
        EXPECT_EQ(placement->save(), std::nullopt);
    }
    EXPECT_TRUE(fileText(iniPath()).contains(QStringLiteral("\nShowCmd=3\n")));
    EXPECT_TRUE(fileText(iniPath()).contains(QStringLiteral("\nNormPos=50,60,350,260\n")));

    QMainWindow window;
    PlacementStorage* placement = nullptr;
    startWindow(window, placement);
    EXPECT_TRUE(window.isMaximized());
    EXPECT_EQ(window.normalGeometry(), QRect(50, 60, 300, 200));
}

TEST_F(PlacementStorageTest, AMinimisedWindowIsShownNormalAndThenMinimised)
{
    QDir().mkpath(QFileInfo(iniPath()).path());
    writeFile(iniPath(), (Header + "ShowCmd=2\nNormPos=20,30,320,230\n").toUtf8());
    QMainWindow window;
    PlacementStorage placement(&window, iniPath());
    placement.restore();
    window.show();
    EXPECT_FALSE(window.isMinimized()) << "first shown normal";
    EXPECT_EQ(window.geometry(), QRect(20, 30, 300, 200));
    QTRY_VERIFY(window.isMinimized());
    EXPECT_EQ(window.normalGeometry(), QRect(20, 30, 300, 200));
}

TEST_F(PlacementStorageTest, AMalformedOrOffScreenFileLeavesTheWindowCentred)
{
    QDir().mkpath(QFileInfo(iniPath()).path());
    for (const QByteArray& content : {QByteArray("\x00\xff\x01 not an INI [MainWindow\n=\n", 24),
                                      (Header + "NormPos=x,y,z\nShowCmd=junk\n").toUtf8(),
                                      (Header + "NormPos=-9000,-9000,-8600,-8700\n").toUtf8()}) {
        writeFile(iniPath(), content);
        QMainWindow window;
        PlacementStorage* placement = nullptr;
        startWindow(window, placement);
        EXPECT_TRUE(centredAtDesignSize(window)) << content.toStdString();
        EXPECT_EQ(window.windowState(), Qt::WindowNoState);
    }
}

TEST_F(PlacementStorageTest, NothingIsSavedBeforeARestore)
{
    QMainWindow window;
    PlacementStorage placement(&window, iniPath());
    EXPECT_EQ(placement.save(), std::nullopt);
    EXPECT_FALSE(QFile::exists(iniPath()));
    EXPECT_FALSE(placement.saved());
}

TEST_F(PlacementStorageTest, AnUnwritableFileIsReportedOnceAndTheWindowStillCloses)
{
    writeFile(folder.filePath(QStringLiteral("config")), "a file where the folder should be");
    QMainWindow window;
    PlacementStorage* placement = nullptr;
    startWindow(window, placement);

    EXPECT_TRUE(placement->save());
    EXPECT_TRUE(placement->save(true));
    EXPECT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports.first().contains(QStringLiteral("config"))) << reports.first().toStdString();
    EXPECT_TRUE(window.close());
}

TEST(FormPlacementPath, DefaultsToTheProgramNameInTheConfigFolder)
{
    QString path = PlacementStorage::defaultIniPath();
    EXPECT_TRUE(path.endsWith(QStringLiteral("/quillet/quillet_qt_tests.INI"))) << path.toStdString();
}

}  // namespace
}  // namespace quillet
