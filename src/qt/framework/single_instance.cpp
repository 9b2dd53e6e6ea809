#include "framework/single_instance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <dirent.h>
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

// How long a socket folder of QLocalServer's making must have been left
// alone before it counts as the remains of a killed process.
constexpr std::time_t kLeftoverAge = 10;

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

// The name QLocalServer gives the private folder it binds the socket in:
// a dot and six letters or digits.
bool IsSocketFolderName(const char* name) {
    if (name[0] != '.') return false;
    int n = 0;
    for (const char* p = name + 1; *p; ++p, ++n) {
        const char c = *p;
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    }
    return n == 6;
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
    RemoveLeftoverSocketFolders();
    // The folder is private, so the socket needs no access options of its
    // own (which would make QLocalServer bind in a temporary folder first).
    Server = std::make_unique<QLocalServer>();
    QLocalServer::removeServer(SocketPath());  // a socket left by a crashed copy
    if (!Server->listen(SocketPath())) {
        // Still the only copy; others simply cannot reach it.
        Server.reset();
        return true;
    }
    connect(Server.get(), &QLocalServer::newConnection, this, &TSingleInstance::OnConnection);
    return true;
}

void TSingleInstance::RemoveLeftoverSocketFolders() const {
    // A copy killed while QLocalServer set up its socket leaves ".XXXXXX"
    // holding at most the socket "s". Only such folders of ours, untouched
    // for a while, are removed: the runtime folder is shared with other
    // programs.
    const QByteArray folder = QFile::encodeName(Folder);
    DIR* d = ::opendir(folder.constData());
    if (!d) return;
    const int dfd = ::dirfd(d);
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(d)) {
        if (!IsSocketFolderName(entry->d_name)) continue;
        struct stat st {};
        if (::fstatat(dfd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode) ||
            st.st_uid != ::geteuid() || now - st.st_mtime < kLeftoverAge)
            continue;
        const int sub = ::openat(dfd, entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub < 0) continue;
        struct stat sock {};
        if (::fstatat(sub, "s", &sock, AT_SYMLINK_NOFOLLOW) == 0 && S_ISSOCK(sock.st_mode))
            (void)::unlinkat(sub, "s", 0);
        ::close(sub);
        (void)::unlinkat(dfd, entry->d_name, AT_REMOVEDIR);  // fails unless it is empty now
    }
    ::closedir(d);
}

void TSingleInstance::OnConnection() {
    while (QLocalSocket* socket = Server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // Requests may arrive in pieces: each connection keeps what it has read.
        auto shown = std::make_shared<bool>(false);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, shown] {
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
