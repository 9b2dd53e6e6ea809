#include "framework/single_instance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexa {

namespace {

// The requests: "show\n", optionally followed by "open <length>\n" and the
// file name's bytes (a name may hold any byte but NUL, newlines included).
constexpr char kShowRequest[] = "show\n";
constexpr char kOpenRequest[] = "open ";
constexpr int kMaxHandedName = PATH_MAX;

// A request is "show\n", "open <length>\n" and a file name: anything
// longer is not one. A connection that has not finished its request in
// kRequestMs is closed, and at most kMaxConnections are open at a time, so
// that nobody can wear the hand-over down. When the listening socket is lost
// (Qt closes it when accept fails, at the file-descriptor limit), it is made
// again every kRelistenMs until that works.
constexpr qint64 kMaxRequest = 5 + 5 + 11 + kMaxHandedName;
constexpr int kRequestMs = 3000;
constexpr int kMaxConnections = 32;
constexpr int kRelistenMs = 250;

QString CacheFolder() {
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) {
        QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty() || !QDir::isAbsolutePath(home)) {
            const passwd* pw = ::getpwuid(::geteuid());
            home = pw ? QFile::decodeName(pw->pw_dir) : QString();
        }
        if (home.isEmpty()) return {};
        base = home + QStringLiteral("/.cache");
    }
    return base + QStringLiteral("/vexa");
}

QByteArray AbsoluteName(const QByteArray& file) {
    if (file.startsWith('/')) return file;
    char* cwd = ::getcwd(nullptr, 0);
    if (!cwd) return file;
    QByteArray name(cwd);
    std::free(cwd);
    if (!name.endsWith('/')) name += '/';
    return name + file;
}

}  // namespace

TSingleInstance::TSingleInstance(const QString& folder, QObject* parent) : QObject(parent), Folder(folder) {}

TSingleInstance::~TSingleInstance() {
    if (Server) Server->close();
    Server.reset();  // its connections go while the count is still there
}

bool TSingleInstance::PrepareFolder(const QString& folder) {
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder)) return false;
    const QByteArray path = QFile::encodeName(folder);
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0) {
        if (errno != ENOENT) return false;
        QDir().mkpath(QFileInfo(folder).path());
        if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return false;
        if (::lstat(path.constData(), &st) != 0) return false;
    }
    // Another user may have made it first (in the shared temp folder), or
    // left it open to others: then the lock inside is not ours to trust.
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

QString TSingleInstance::DefaultFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && PrepareFolder(runtime)) return runtime;
    const QString shared = QDir::tempPath() + QStringLiteral("/vexa-%1").arg(::geteuid());
    if (PrepareFolder(shared)) return shared;
    const QString own = CacheFolder();
    if (PrepareFolder(own)) return own;
    return {};
}

QString TSingleInstance::LockPath() const { return Folder + QStringLiteral("/vexa.lock"); }

QString TSingleInstance::SocketPath() const { return Folder + QStringLiteral("/vexa.socket"); }

bool TSingleInstance::TryBecomeFirst() {
    if (Lock && Lock->isLocked()) return true;
    // A folder where no lock can be made, or one that is not ours alone, must
    // not keep the player from starting at all: it then runs without the rule.
    if (!PrepareFolder(Folder)) return true;
    Lock = std::make_unique<QLockFile>(LockPath());
    // A lock is stale only when its process is gone, never because of its age:
    // a copy that has run for hours still holds it.
    Lock->setStaleLockTime(0);
    if (!Lock->tryLock(0)) {
        const bool heldByAnother = Lock->error() == QLockFile::LockFailedError;
        Lock.reset();
        return !heldByAnother;
    }
    // The folder is private, so the socket needs no access options of its
    // own and is bound directly at its name; nothing else in the folder is
    // ours to touch.
    Listen();
    // Still the only copy even while it cannot listen; others simply cannot
    // reach it until it can again.
    Watch = std::make_unique<QTimer>();
    connect(Watch.get(), &QTimer::timeout, this, [this] {
        if (!Server || !Server->isListening()) Listen();
    });
    Watch->start(kRelistenMs);
    return true;
}

bool TSingleInstance::Listen() {
    Server = std::make_unique<QLocalServer>();
    QLocalServer::removeServer(SocketPath());  // a socket left by a crashed copy, or by our lost server
    if (!Server->listen(SocketPath())) {
        Server.reset();
        return false;
    }
    connect(Server.get(), &QLocalServer::newConnection, this, &TSingleInstance::OnConnection);
    return true;
}

void TSingleInstance::OnConnection() {
    while (QLocalSocket* socket = Server->nextPendingConnection()) {
        if (Connections >= kMaxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++Connections;
        connect(socket, &QObject::destroyed, this, [this] { --Connections; });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        socket->setReadBufferSize(kMaxRequest + 1);
        QTimer::singleShot(kRequestMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        // Requests may arrive in pieces: each connection keeps what it has read.
        auto shown = std::make_shared<bool>(false);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, shown] {
            if (socket->bytesAvailable() > kMaxRequest) {
                socket->abort();
                return;
            }
            if (!*shown) {
                if (!socket->canReadLine()) return;
                if (socket->readLine() != kShowRequest) {
                    socket->disconnectFromServer();
                    return;
                }
                *shown = true;
                emit ShowRequested();
            }
            if (socket->bytesAvailable() == 0) return;  // the sender closes when it has nothing more
            if (!socket->canReadLine()) return;
            const QByteArray header = socket->peek(32);
            const qsizetype nl = header.indexOf('\n');
            bool valid = header.startsWith(kOpenRequest) && nl > 0;
            const qsizetype length = valid ? header.mid(5, nl - 5).toLongLong(&valid) : 0;
            if (!valid || length <= 0 || length > kMaxHandedName) {
                socket->disconnectFromServer();
                return;
            }
            if (socket->bytesAvailable() < nl + 1 + length) return;
            socket->read(nl + 1);
            const QByteArray file = socket->read(length);
            socket->disconnectFromServer();
            if (!file.contains('\0')) emit FileHandedOver(file);
        });
    }
}

bool TSingleInstance::AskFirstToShow(const QByteArray& file, int timeoutMs) {
    QByteArray request(kShowRequest);
    if (!file.isEmpty()) {
        const QByteArray name = AbsoluteName(file);
        if (name.size() <= kMaxHandedName)
            request += kOpenRequest + QByteArray::number(name.size()) + '\n' + name;
    }
    // The first copy may hold the lock a moment before it listens.
    QElapsedTimer clock;
    clock.start();
    do {
        QLocalSocket socket;
        socket.connectToServer(SocketPath());
        if (socket.waitForConnected(500)) {
            socket.write(request);
            bool sent = true;
            while (sent && socket.bytesToWrite() > 0) sent = socket.waitForBytesWritten(1000);
            // Closing our end tells a first copy that has read only "show" that nothing follows.
            socket.disconnectFromServer();
            if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(500);
            return sent;
        }
        QThread::msleep(50);
    } while (clock.elapsed() < timeoutMs);
    return false;
}

}  // namespace vexa
