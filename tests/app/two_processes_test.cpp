// The single-instance rule with real player processes.
#include "app_fixture.h"
#include "framework/single_instance.h"

#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Player {
public:
    // `adjust` changes the environment; `wrapper` runs the player through
    // another program (setpriv); `workDir` is its current folder.
    Player(const QString& runtime, const QString& config, const QStringList& args = {},
           const std::function<void(QProcessEnvironment&)>& adjust = {}, const QStringList& wrapper = {},
           const QString& workDir = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtime);
        env.insert("XDG_CONFIG_HOME", config);
        if (adjust) adjust(env);
        Process.setProcessEnvironment(env);
        if (!workDir.isEmpty()) Process.setWorkingDirectory(workDir);
        const QString player = QStringLiteral(VEXA_BINARY_DIR "/vexa");
        if (wrapper.isEmpty()) {
            Process.setProgram(player);
            Process.setArguments(args);
        } else {
            Process.setProgram(wrapper.first());
            Process.setArguments(wrapper.mid(1) + QStringList{player} + args);
        }
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

TEST(TwoProcesses, AFolderInTheSharedTempThatIsNotOursDoesNotStopThePlayer) {
    // XDG_RUNTIME_DIR unset: the lock would live in "vexa-<uid>" in the temp
    // folder, where another user may have put one naming a live process.
    QTemporaryDir temp, cache, config;
    ::chmod(QFile::encodeName(temp.path()), 0755);
    struct Case {
        const char* name;
        uid_t uid;  // the user the second player runs as
        std::function<void(const QString& shared, const QString& held)> plant;
    };
    std::vector<Case> cases = {
        {"a symlink to the folder of a running copy", ::geteuid(),
         [](const QString& shared, const QString& held) { ASSERT_TRUE(QFile::link(held, shared)); }},
        {"the folder of a running copy, open to others", ::geteuid(),
         [](const QString& shared, const QString& held) {
             ASSERT_TRUE(QDir().rename(held, shared));
             ::chmod(QFile::encodeName(shared), 0777);
         }},
    };
    const bool root = ::geteuid() == 0 && QProcess::execute("setpriv", {"--reuid=65534", "--regid=65534",
                                                                       "--clear-groups", "/bin/true"}) == 0;
    if (root) {
        cases.push_back({"another user's folder, readable, holding a live lock", 65534,
                         [](const QString& shared, const QString& held) {
                             ASSERT_TRUE(QDir().rename(held, shared));
                             ::chmod(QFile::encodeName(shared), 0755);
                         }});
        ::chown(QFile::encodeName(cache.path()), 65534, 65534);
        ::chown(QFile::encodeName(config.path()), 65534, 65534);
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A running copy holds the lock in its own private folder.
        const QString held = temp.filePath(QStringLiteral("held"));
        ASSERT_TRUE(QDir().mkdir(held));
        ::chmod(QFile::encodeName(held), 0700);
        Player first(held, config.path());
        ASSERT_TRUE(WaitForListener(held));
        const QString shared = temp.filePath(QStringLiteral("vexa-%1").arg(c.uid));
        c.plant(shared, held);

        const QStringList wrapper = c.uid == ::geteuid()
                                        ? QStringList{}
                                        : QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
        Player second(QString(), config.path(), {},
                      [&](QProcessEnvironment& env) {
                          env.remove("XDG_RUNTIME_DIR");
                          env.insert("TMPDIR", temp.path());
                          env.insert("XDG_CACHE_HOME", cache.path());
                      },
                      wrapper);
        ASSERT_TRUE(second.Process.waitForStarted());
        // It runs as a first copy instead of exiting like a second one.
        EXPECT_FALSE(second.Process.waitForFinished(1500)) << second.Process.readAllStandardError().constData();
        EXPECT_EQ(second.Process.state(), QProcess::Running);
        EXPECT_TRUE(QFileInfo::exists(cache.filePath(QStringLiteral("vexa/vexa.lock"))));
        second.Process.kill();
        second.Process.waitForFinished(5000);
        first.Process.kill();
        first.Process.waitForFinished(5000);
        QFile::remove(shared);
        QDir(shared).removeRecursively();
        QDir(held).removeRecursively();
        QDir(cache.filePath(QStringLiteral("vexa"))).removeRecursively();
    }
}

// The running copy is this test's application object; the second copy is
// a real player process started with a file.
class HandOverTest : public vexa::test::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(Instance.TryBecomeFirst());
        QObject::connect(&Instance, &vexa::TSingleInstance::ShowRequested, App.get(), &vexa::TKavrikApp::ShowFrame);
        QObject::connect(&Instance, &vexa::TSingleInstance::FileHandedOver, App.get(),
                         &vexa::TKavrikApp::OpenHandedFile);
        Start();
    }

    // Waits while handling events until `done` holds.
    template <typename F>
    bool Until(F done, int timeoutMs = 20000) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < timeoutMs) QApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }

    QTemporaryDir Runtime;
    vexa::TSingleInstance Instance{Runtime.path()};
};

TEST_F(HandOverTest, ASecondCopysFileIsLoadedAfterTheReadyQuestion) {
    const QString name = QStringLiteral("間違い探し.VX");
    const QString path = WritePuzzle(name, 4);
    // Started from the puzzle's folder with a relative name, as a file manager may.
    Player second(Runtime.path(), Dir.path(), {name}, {}, {}, Dir.path());
    ASSERT_TRUE(Until([&] { return second.Process.state() == QProcess::NotRunning; }));
    EXPECT_EQ(second.Process.exitCode(), 1);
    ASSERT_TRUE(Until([&] { return !Messages.isEmpty(); }));
    EXPECT_EQ(Messages, QStringList{vexa::kMsgReady});
    EXPECT_EQ(App->PendingFile, path);
    EXPECT_EQ(App->Puzzle().DiffCount, 4);
    EXPECT_EQ(App->Running(), 1);
}

TEST_F(HandOverTest, AFileArrivingDuringABoxWaitsForItToClose) {
    const QString path = WritePuzzle("late.VX", 5);
    QDialog box(App->Frame());
    box.setModal(true);
    box.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &box);
    vexa::TSingleInstance second(Runtime.path());
    ASSERT_FALSE(second.TryBecomeFirst());
    ASSERT_TRUE(second.AskFirstToShow(QFile::encodeName(path)));
    Until([] { return false; }, 500);
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_EQ(App->Running(), 0);
    box.close();
    ASSERT_TRUE(Until([&] { return App->Running() == 1; }, 3000));
    EXPECT_EQ(Messages, QStringList{vexa::kMsgReady});
    EXPECT_EQ(App->Puzzle().DiffCount, 5);
}

TEST_F(HandOverTest, AFileHandedToAMinimisedCopyRestoresItBeforeTheQuestion) {
    App->OpenPuzzle(WritePuzzle("small.VX", 3, 120, 90));
    ASSERT_EQ(App->Running(), 1);
    const QString path = WritePuzzle("larger.VX", 4, 320, 240);
    App->Frame()->showMinimized();
    QApplication::processEvents();
    ASSERT_TRUE(App->Frame()->isMinimized());

    bool minimisedAtTheQuestion = true;
    vexa::SetMessageBoxHook([&](QWidget*, const QString& text, QMessageBox::StandardButtons) {
        Messages << text;
        minimisedAtTheQuestion = App->Frame()->isMinimized();
        return QMessageBox::Ok;
    });
    vexa::TSingleInstance second(Runtime.path());
    ASSERT_FALSE(second.TryBecomeFirst());
    ASSERT_TRUE(second.AskFirstToShow(QFile::encodeName(path)));
    ASSERT_TRUE(Until([&] { return App->Puzzle().DiffCount == 4; }, 5000));
    EXPECT_EQ(Messages, QStringList{vexa::kMsgReady});
    EXPECT_FALSE(minimisedAtTheQuestion) << "the question comes with the frame";
    EXPECT_FALSE(App->Frame()->isMinimized());
    EXPECT_EQ(App->Running(), 1);
    // Fitted to the new puzzle: the frame is as F5 makes it now.
    const QSize fitted = App->Frame()->size();
    EXPECT_EQ(App->View()->viewport()->height(), 240);
    App->CmFitToPicture();
    QApplication::processEvents();
    EXPECT_EQ(App->Frame()->size(), fitted);
}

}  // namespace
