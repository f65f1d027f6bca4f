#include <QApplication>

#include <gtest/gtest.h>

// The window tests need one application object for the whole run.
int main(int argc, char** argv)
{
    // Test discovery at build time and runs without a display both need a platform.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
