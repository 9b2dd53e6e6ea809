// The single-instance rule with real player processes.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

namespace {

class Player {
public:
    Player(const QString& runtime, const QString& config, const QStringList& args = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtime);
        env.insert("XDG_CONFIG_HOME", config);
        Process.setProcessEnvironment(env);
        Process.setProgram(QStringLiteral(VEXA_BINARY_DIR "/vexa"));
        Process.setArguments(args);
        Process.start();
    }
    ~Player() {
        if (Process.state() != QProcess::NotRunning) {
            Process.kill();
            Process.waitForFinished(5000);
        }
    }
    QProcess Process;
};

// Waits until the first copy listens (its socket appears), up to a generous limit.
bool WaitForListener(const QString& runtime) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        if (QFileInfo(runtime + "/vexa.socket").exists()) return true;
        QThread::msleep(50);
    }
    return false;
}

TEST(TwoProcesses, SecondCopyExitsWithOneAndAStaleLockDoesNotBlock) {
    QTemporaryDir runtime;
    QTemporaryDir config;
    // The program folder of the build must not receive a settings file from
    // this test: the player only probes it, and the probe is removed again.
    auto first = std::make_unique<Player>(runtime.path(), config.path());
    ASSERT_TRUE(first->Process.waitForStarted());
    ASSERT_TRUE(WaitForListener(runtime.path()));

    for (const QStringList& args : {QStringList{}, QStringList{runtime.filePath("some.VX")}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        Player second(runtime.path(), config.path(), args);
        ASSERT_TRUE(second.Process.waitForFinished(20000));
        EXPECT_EQ(second.Process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.Process.exitCode(), 1);
        EXPECT_EQ(first->Process.state(), QProcess::Running);
    }

    // The first copy crashes, leaving its lock and socket behind.
    ::kill(static_cast<pid_t>(first->Process.processId()), SIGKILL);
    ASSERT_TRUE(first->Process.waitForFinished(5000));
    first.reset();
    ASSERT_TRUE(QFileInfo(runtime.path() + "/vexa.lock").exists());

    Player next(runtime.path(), config.path());
    ASSERT_TRUE(next.Process.waitForStarted());
    // It runs on as the first copy rather than exiting like a second one.
    EXPECT_FALSE(next.Process.waitForFinished(1500));
    EXPECT_EQ(next.Process.state(), QProcess::Running);
    Player another(runtime.path(), config.path());
    ASSERT_TRUE(another.Process.waitForFinished(20000));
    EXPECT_EQ(another.Process.exitCode(), 1);
}

}  // namespace
