#include "framework/single_instance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>

#include <unistd.h>

namespace vexa {

namespace {
constexpr char kShowRequest[] = "show\n";
}

TSingleInstance::TSingleInstance(const QString& folder, QObject* parent) : QObject(parent), Folder(folder) {}

TSingleInstance::~TSingleInstance() {
    if (Server) Server->close();
}

QString TSingleInstance::DefaultFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime)) return runtime;
    return QDir::tempPath() + QStringLiteral("/vexa-%1").arg(::getuid());
}

QString TSingleInstance::LockPath() const { return Folder + QStringLiteral("/vexa.lock"); }

QString TSingleInstance::SocketPath() const { return Folder + QStringLiteral("/vexa.socket"); }

bool TSingleInstance::TryBecomeFirst() {
    if (Lock && Lock->isLocked()) return true;
    QDir().mkpath(Folder);
    QFile::setPermissions(Folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    Lock = std::make_unique<QLockFile>(LockPath());
    // A lock is stale only when its process is gone, never because of its age:
    // a copy that has run for hours still holds it.
    Lock->setStaleLockTime(0);
    if (!Lock->tryLock(0)) {
        const bool heldByAnother = Lock->error() == QLockFile::LockFailedError;
        Lock.reset();
        // A folder where no lock can be made must not keep the player from
        // starting at all: it then runs without the rule.
        return !heldByAnother;
    }
    Server = std::make_unique<QLocalServer>();
    Server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(SocketPath());  // a socket left by a crashed copy
    if (!Server->listen(SocketPath())) {
        // Still the only copy; others simply cannot reach it.
        Server.reset();
        return true;
    }
    connect(Server.get(), &QLocalServer::newConnection, this, &TSingleInstance::OnConnection);
    return true;
}

void TSingleInstance::OnConnection() {
    while (QLocalSocket* socket = Server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->canReadLine() && socket->readLine() == kShowRequest) emit ShowRequested();
            socket->disconnectFromServer();
        });
    }
}

bool TSingleInstance::AskFirstToShow(int timeoutMs) {
    // The first copy may hold the lock a moment before it listens.
    QElapsedTimer clock;
    clock.start();
    do {
        QLocalSocket socket;
        socket.connectToServer(SocketPath());
        if (socket.waitForConnected(500)) {
            socket.write(kShowRequest);
            const bool sent = socket.waitForBytesWritten(1000);
            socket.waitForDisconnected(500);
            return sent;
        }
        QThread::msleep(50);
    } while (clock.elapsed() < timeoutMs);
    return false;
}

}  // namespace vexa
