#include "framework/single_instance.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <vector>

namespace vexa {
namespace {

// A first copy in a scratch folder, counting the requests to show itself.
struct TFirstCopy {
    TFirstCopy() {
        EXPECT_TRUE(first.TryBecomeFirst());
        QObject::connect(&first, &TSingleInstance::ShowRequested, [this] { ++shows; });
    }
    QTemporaryDir dir;
    TSingleInstance first{dir.path()};
    int shows = 0;
};

TEST(SingleInstance, SecondCopyAsksTheFirstToShow) {
    TFirstCopy copy;
    TSingleInstance second(copy.dir.path());
    EXPECT_FALSE(second.TryBecomeFirst());
    EXPECT_TRUE(second.AskFirstToShow());
    for (int i = 0; i < 50 && copy.shows == 0; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(copy.shows, 1);
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

// Waits until `done` holds, handling events meanwhile.
template <typename F>
bool ProcessEventsUntil(F done, int timeoutMs = 2000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

TEST(SingleInstance, FileNamesAreHandedOverAsBytes) {
    QTemporaryDir dir;
    TSingleInstance first(dir.path());
    ASSERT_TRUE(first.TryBecomeFirst());
    int shows = 0;
    QList<QByteArray> files;
    QObject::connect(&first, &TSingleInstance::ShowRequested, [&] { ++shows; });
    QObject::connect(&first, &TSingleInstance::FileHandedOver, [&](const QByteArray& f) { files << f; });

    char* cwd = ::getcwd(nullptr, 0);
    const QByteArray here(cwd);
    std::free(cwd);
    struct Case {
        const char* name;
        QByteArray have;
        std::optional<QByteArray> want;
    };
    const Case cases[] = {
        // Shift-JIS with 0x5C and ']' second bytes: no UTF-8 at all.
        {"Shift-JIS bytes", "/tmp/\x83\x5c\x83\x5d\x8a\xd4.VX", QByteArray("/tmp/\x83\x5c\x83\x5d\x8a\xd4.VX")},
        {"a line break in the name", "/tmp/a\nshow\nb.VX", QByteArray("/tmp/a\nshow\nb.VX")},
        {"relative to the sender's folder", "sub/x.VX", here + "/sub/x.VX"},
        {"no file: only shown", "", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        shows = 0;
        files.clear();
        TSingleInstance second(dir.path());
        EXPECT_FALSE(second.TryBecomeFirst());
        EXPECT_TRUE(second.AskFirstToShow(c.have));
        ASSERT_TRUE(ProcessEventsUntil([&] { return shows == 1 && (!c.want || !files.isEmpty()); }));
        if (c.want) {
            EXPECT_EQ(files, QList<QByteArray>{*c.want});
        } else {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
            EXPECT_TRUE(files.isEmpty());
        }
    }
}

TEST(SingleInstance, OnlyAPrivateFolderOfOursHoldsTheLock) {
    QTemporaryDir dir;
    struct Case {
        const char* name;
        std::function<void(const QString& path)> arrange;
        bool want;
    };
    const Case cases[] = {
        {"missing: made private", [](const QString&) {}, true},
        {"ours, mode 0700", [](const QString& p) { QDir().mkdir(p); ::chmod(QFile::encodeName(p), 0700); }, true},
        {"ours but open to others",
         [](const QString& p) {
             QDir().mkdir(p);
             ::chmod(QFile::encodeName(p), 0777);
         },
         false},
        {"a symlink to a private folder",
         [&dir](const QString& p) {
             QDir().mkdir(dir.filePath("real"));
             ::chmod(QFile::encodeName(dir.filePath("real")), 0700);
             QFile::link(dir.filePath("real"), p);
         },
         false},
        {"a file", [](const QString& p) { QFile(p).open(QIODevice::WriteOnly); }, false},
        {"another user's", [](const QString& p) {
             QDir().mkdir(p);
             ::chmod(QFile::encodeName(p), 0700);
             if (::geteuid() == 0) (void)::chown(QFile::encodeName(p), 65534, 65534);
         },
         ::geteuid() != 0},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QStringLiteral("vexa-%1").arg(++n));
        c.arrange(path);
        EXPECT_EQ(TSingleInstance::PrepareFolder(path), c.want);
        if (c.want) {
            struct stat st {};
            ASSERT_EQ(::lstat(QFile::encodeName(path), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, 0700u);
        }
    }
}

TEST(SingleInstance, UnsafeFoldersArePassedBy) {
    const QByteArray saved[] = {qgetenv("XDG_RUNTIME_DIR"), qgetenv("TMPDIR"), qgetenv("XDG_CACHE_HOME")};
    QTemporaryDir temp, cache;
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    const QString shared = temp.filePath(QStringLiteral("vexa-%1").arg(::geteuid()));

    // A folder of ours in the shared place is used, also instead of a
    // runtime folder open to others.
    EXPECT_EQ(TSingleInstance::DefaultFolder(), shared);
    QTemporaryDir openRuntime;
    ::chmod(QFile::encodeName(openRuntime.path()), 0777);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(openRuntime.path()));
    EXPECT_EQ(TSingleInstance::DefaultFolder(), shared);
    qunsetenv("XDG_RUNTIME_DIR");
    // Somebody else's (here: open to everybody, with a planted lock) is not:
    // the private folder in the cache takes its place, and the copy runs.
    ::chmod(QFile::encodeName(shared), 0777);
    QFile planted(shared + QStringLiteral("/vexa.lock"));
    ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
    planted.write(QByteArray::number(QCoreApplication::applicationPid()) + "\nvexa\n" +
                  QSysInfo::machineHostName().toUtf8() + "\n");
    planted.close();
    const QString own = cache.path() + QStringLiteral("/vexa");
    EXPECT_EQ(TSingleInstance::DefaultFolder(), own);
    {
        TSingleInstance first;
        EXPECT_TRUE(first.TryBecomeFirst());
        EXPECT_EQ(first.LockPath(), own + QStringLiteral("/vexa.lock"));
    }
    // With no safe folder at all the copy runs on its own.
    ::chmod(QFile::encodeName(own), 0755);
    EXPECT_EQ(TSingleInstance::DefaultFolder(), QString());
    TSingleInstance alone(QString{});
    EXPECT_TRUE(alone.TryBecomeFirst());

    const char* names[] = {"XDG_RUNTIME_DIR", "TMPDIR", "XDG_CACHE_HOME"};
    for (int i = 0; i < 3; ++i) {
        if (saved[i].isNull()) qunsetenv(names[i]); else qputenv(names[i], saved[i]);
    }
}

// Connects a raw client to `path`; -1 when the server takes no more.
int Connect(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_un addr {};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, QFile::encodeName(path).constData(), sizeof addr.sun_path - 1);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Whether the server has closed the client's connection.
bool ClosedByServer(int fd) {
    char byte = 0;
    const ssize_t n = ::recv(fd, &byte, 1, MSG_DONTWAIT);
    return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
}

void Spin(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

TEST(SingleInstance, StartUpRemovesNothingButItsOwnLockAndSocket) {
    // Folders and sockets of other programs, however old, stay; the socket a
    // crashed copy of ours left is replaced.
    QTemporaryDir dir;
    const auto oldSocket = [&](const QString& name) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr {};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, QFile::encodeName(dir.filePath(name)).constData(), sizeof addr.sun_path - 1);
        EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        ::close(fd);
        const timeval times[2] = {{1000000, 0}, {1000000, 0}};
        ::utimes(QFile::encodeName(dir.filePath(name)), times);
    };
    QDir(dir.path()).mkdir(QStringLiteral(".Ab12Cd"));
    oldSocket(QStringLiteral(".Ab12Cd/s"));
    oldSocket(QStringLiteral("vexa.socket"));

    TSingleInstance first(dir.path());
    ASSERT_TRUE(first.TryBecomeFirst());
    QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    left.sort();
    EXPECT_EQ(left, (QStringList{".Ab12Cd", "vexa.lock", "vexa.socket"}));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral(".Ab12Cd/s"))));
    const int client = Connect(first.SocketPath());
    EXPECT_GE(client, 0);
    ::close(client);
}

TEST(SingleInstance, AFloodOfConnectionsCannotWearTheHandOverDown) {
    TFirstCopy copy;
    TSingleInstance& first = copy.first;
    const QTemporaryDir& dir = copy.dir;

    // A hundred connections that never send a thing: a few dozen are held.
    std::vector<int> clients;
    for (int i = 0; i < 100; ++i) {
        const int fd = Connect(first.SocketPath());
        if (fd >= 0) clients.push_back(fd);
        Spin(2);
    }
    Spin(200);
    const auto held = std::count_if(clients.begin(), clients.end(), [](int fd) { return !ClosedByServer(fd); });
    std::printf("connections made: %zu, held: %td\n", clients.size(), held);
    EXPECT_LE(held, 32);
    EXPECT_GT(held, 0);

    // A message far larger than any request closes its connection at once.
    const int talker = Connect(first.SocketPath());
    ASSERT_GE(talker, 0);
    const std::string flood(1 << 16, 'x');
    Spin(50);
    (void)::send(talker, flood.data(), flood.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    Spin(300);
    EXPECT_TRUE(ClosedByServer(talker));
    ::close(talker);

    // Idle ones are closed after a few seconds, and a hand-over works again.
    Spin(3500);
    EXPECT_TRUE(std::all_of(clients.begin(), clients.end(), ClosedByServer));
    for (const int fd : clients) ::close(fd);
    TSingleInstance second(dir.path());
    EXPECT_TRUE(second.AskFirstToShow({}, 2000));
    Spin(100);
    EXPECT_EQ(copy.shows, 1);
}

TEST(SingleInstance, ListensAgainAfterRunningOutOfFileDescriptors) {
    TFirstCopy copy;
    TSingleInstance& first = copy.first;
    const QTemporaryDir& dir = copy.dir;

    // A connection waits while every file descriptor is in use, so that the
    // server's accept fails with EMFILE.
    const int waiting = Connect(first.SocketPath());
    ASSERT_GE(waiting, 0);
    std::vector<int> fillers;
    for (int fd; (fd = ::dup(waiting)) >= 0;) fillers.push_back(fd);
    ASSERT_EQ(errno, EMFILE);
    Spin(300);
    for (const int fd : fillers) ::close(fd);
    ::close(waiting);

    TSingleInstance second(dir.path());
    EXPECT_TRUE(second.AskFirstToShow({}, 3000));
    Spin(200);
    EXPECT_EQ(copy.shows, 1);
}

}  // namespace
}  // namespace vexa
