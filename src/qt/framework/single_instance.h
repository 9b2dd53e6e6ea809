// One running copy per user: a lock file decides which process is the first;
// the first listens on a local socket beside it for "show yourself" and for
// the name of a file that a later copy was started with.
#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

namespace vexa {

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    // `folder` holds the lock file and the socket; it is created when missing.
    // Empty: no folder could be found, and the copy runs on its own.
    explicit TSingleInstance(const QString& folder = DefaultFolder(), QObject* parent = nullptr);
    ~TSingleInstance() override;

    // The first of these that is our own private folder: $XDG_RUNTIME_DIR,
    // "vexa-<uid>" in the temp folder, "vexa" in the user's cache folder.
    // Empty when none of them is safe to use.
    static QString DefaultFolder();

    // Makes `folder` when missing and tells whether it is safe for the lock:
    // a real folder (not a symlink) owned by us that no one else may enter.
    static bool PrepareFolder(const QString& folder);

    // Takes the lock and starts listening. False only when another live
    // process holds it. A lock left by a process that died is taken over;
    // when no lock file can be made at all (or the folder is not private),
    // the copy runs on its own (true).
    bool TryBecomeFirst();

    // Asks the first copy to show its frame and, when `file` is not empty,
    // to open it; a relative name is taken from the current folder. True
    // when the request was delivered.
    bool AskFirstToShow(const QByteArray& file = {}, int timeoutMs = 3000);

    QString LockPath() const;
    QString SocketPath() const;

signals:
    // Another copy asked the first one to show its frame.
    void ShowRequested();
    // Another copy was started with this file (an absolute name, as bytes).
    void FileHandedOver(const QByteArray& file);

private:
    bool Listen();
    void OnConnection();

    QString Folder;
    std::unique_ptr<QLockFile> Lock;
    std::unique_ptr<QLocalServer> Server;
    std::unique_ptr<QTimer> Watch;  // listens again when the server was lost
    int Connections = 0;
};

}  // namespace vexa
