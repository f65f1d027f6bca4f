#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
// Under the leak checker: what Qt, its fonts and its platform plugins keep for the life of the
// process is theirs, not ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libQt6\nleak:libfontconfig\nleak:libfreetype\nleak:libglib\nleak:libdbus\n";
}
#endif

namespace {

// The offscreen platform's screen is 800 x 600 unless it is told otherwise: the window tests run
// on a screen of 1600 x 1000, which at scale 2 is the 800 x 500 that the window must fit.
std::string offscreenWithScreen(const QTemporaryDir& folder)
{
    QString path = QDir(folder.path()).filePath(QStringLiteral("offscreen.json"));
    QFile config(path);
    if (!config.open(QIODevice::WriteOnly)) return "offscreen";
    config.write(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": 1600, "height": 1000,)"
                 R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    return "offscreen:configfile=" + QFile::encodeName(path).toStdString();
}

}  // namespace

// The window tests need one application object for the whole run.
int main(int argc, char** argv)
{
    QTemporaryDir folder;
    std::string platform = offscreenWithScreen(folder);
    // Test discovery at build time and runs without a display both need a platform.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qgetenv("QT_QPA_PLATFORM") == "offscreen")
        qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(platform));
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 && std::strcmp(argv[i + 1], "offscreen") == 0)
            argv[i + 1] = platform.data();
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
