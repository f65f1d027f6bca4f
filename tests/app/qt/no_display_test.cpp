// The window program started where there is no display to open a window on.
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace quillet {
namespace {

struct Outcome {
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    QString err;
};

Outcome startWith(const QProcessEnvironment& environment)
{
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(QUILLET_GUI_PATH), {});
    program.closeWriteChannel();
    if (!program.waitForFinished(30000)) program.kill();
    return {program.exitCode(), program.exitStatus(), QString::fromLocal8Bit(program.readAllStandardError())};
}

// Qt's own message would advise reinstalling the program, and it ended with status 134.
TEST(WithoutADisplay, OneLineSaysSoAndTheExitStatusIs1)
{
    QProcessEnvironment none = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR"})
        none.remove(QString::fromLatin1(name));
    QProcessEnvironment unreachable = none;
    unreachable.insert(QStringLiteral("DISPLAY"), QStringLiteral(":79.0"));
    unreachable.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const QProcessEnvironment& environment : {none, unreachable}) {
        Outcome outcome = startWith(environment);
        EXPECT_EQ(outcome.exitStatus, QProcess::NormalExit);
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(outcome.err,
                  QStringLiteral("quillet: no display to open a window on; quillet-cli works without one\n"));
    }
}

}  // namespace
}  // namespace quillet
