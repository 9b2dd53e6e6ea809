#include "framework/single_instance.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vexa {
namespace {

TEST(SingleInstance, SecondCopyAsksTheFirstToShow) {
    QTemporaryDir dir;
    TSingleInstance first(dir.path());
    ASSERT_TRUE(first.TryBecomeFirst());
    int shows = 0;
    QObject::connect(&first, &TSingleInstance::ShowRequested, [&] { ++shows; });

    TSingleInstance second(dir.path());
    EXPECT_FALSE(second.TryBecomeFirst());
    EXPECT_TRUE(second.AskFirstToShow());
    for (int i = 0; i < 50 && shows == 0; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(shows, 1);
}

TEST(SingleInstance, AnOldLockOfALiveProcessStillHolds) {
    QTemporaryDir dir;
    TSingleInstance first(dir.path());
    ASSERT_TRUE(first.TryBecomeFirst());
    // A copy that has run for hours: its lock file is old but its process lives.
    QFile lock(first.LockPath());
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
    lock.close();
    TSingleInstance second(dir.path());
    EXPECT_FALSE(second.TryBecomeFirst());
}

TEST(SingleInstance, LockAndSocketLeftByADeadProcessAreTakenOver) {
    QTemporaryDir dir;
    // The lock of a process that is gone, in the format the lock file keeps,
    // and the socket file it never removed.
    QProcess gone;
    gone.start(QStringLiteral("/bin/true"));
    ASSERT_TRUE(gone.waitForFinished());
    const qint64 pid = gone.processId() ? gone.processId() : 999999;
    {
        TSingleInstance probe(dir.path());
        QFile lock(probe.LockPath());
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(pid > 0 ? pid : 999999) + "\nvexa\n" +
                   QSysInfo::machineHostName().toUtf8() + "\n");
        QFile socket(probe.SocketPath());
        ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    }
    TSingleInstance next(dir.path());
    ASSERT_TRUE(next.TryBecomeFirst());
    int shows = 0;
    QObject::connect(&next, &TSingleInstance::ShowRequested, [&] { ++shows; });
    TSingleInstance third(dir.path());
    EXPECT_FALSE(third.TryBecomeFirst());
    EXPECT_TRUE(third.AskFirstToShow());
    for (int i = 0; i < 50 && shows == 0; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(shows, 1) << "the new first copy listens on the socket path again";
}

TEST(SingleInstance, AFolderWhereNoLockCanBeMadeDoesNotStopThePlayer) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TSingleInstance alone(dir.filePath("file/below"));
    EXPECT_TRUE(alone.TryBecomeFirst());
}

}  // namespace
}  // namespace vexa
