#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

namespace plimbo {

// One running instance per user. The first launch holds a lock file and listens on a local
// socket beside it, in the user's runtime folder; a later launch finds the lock taken, tells the
// running instance to reopen and ends. A lock left by a process that has died is taken over.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Role {
        // This process is the one instance: it listens for later launches.
        primary,
        // Another instance runs and took the hand-over.
        handedOver,
        // Another instance holds the lock but did not answer.
        unreachable,
    };

    // directory: where the lock and the socket live; name: their base name.
    SingleInstance(QString directory, QString name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The user's runtime folder and a per-user name.
    static QString defaultDirectory();
    static QString defaultName();

    // Takes the lock, or hands the launch over to the instance that holds it (waiting up to
    // `handOverTimeoutMs` for it to answer; it may be starting up). Call once, before the event
    // loop runs.
    Role claim(int handOverTimeoutMs = 5000);

    QString socketPath() const;
    QString lockPath() const;

    // Asks the instance listening at `socketPath` to reopen, waiting up to `timeoutMs` for its
    // answer (it may be starting up); true once it answered. Blocks: before the event loop only.
    static bool handOver(const QString& socketPath, int timeoutMs);

signals:
    // A later launch asked this instance to reopen.
    void reopenRequested();

private:
    bool listen();
    void acceptConnections();

    QString m_directory;
    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
};

} // namespace plimbo
