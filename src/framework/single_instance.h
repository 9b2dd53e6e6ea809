// One running copy per user: a lock file decides which process is the first;
// the first listens on a local socket beside it for "show yourself".
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

namespace vexa {

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    // `folder` holds the lock file and the socket; it is created when missing.
    explicit TSingleInstance(const QString& folder = DefaultFolder(), QObject* parent = nullptr);
    ~TSingleInstance() override;

    // $XDG_RUNTIME_DIR when set, else a per-user folder in the temp folder.
    static QString DefaultFolder();

    // Takes the lock and starts listening. False only when another live
    // process holds it. A lock left by a process that died is taken over;
    // when no lock file can be made at all, the copy runs on its own (true).
    bool TryBecomeFirst();

    // Asks the first copy to show its frame; true when the request was delivered.
    bool AskFirstToShow(int timeoutMs = 3000);

    QString LockPath() const;
    QString SocketPath() const;

signals:
    // Another copy asked the first one to show its frame.
    void ShowRequested();

private:
    void OnConnection();

    QString Folder;
    std::unique_ptr<QLockFile> Lock;
    std::unique_ptr<QLocalServer> Server;
};

}  // namespace vexa
