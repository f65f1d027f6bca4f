#include <QApplication>

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
// Under the leak checker: what Qt, its fonts and its platform plugins keep for the life of the
// process is theirs, not ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libQt6\nleak:libfontconfig\nleak:libfreetype\nleak:libglib\nleak:libdbus\n";
}
#endif

// The window tests need one application object for the whole run.
int main(int argc, char** argv)
{
    // Test discovery at build time and runs without a display both need a platform.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
