#pragma once

#include "PrivateBus.h"

#include <QDBusConnection>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

namespace plimbo::test {

// A gnome-keyring-daemon of its own (secrets only) on a bus of its own, with its own home and
// data folders: its login keyring is created with `password` and starts unlocked. Tests lock
// it, store items in it and run the code under test against it through environment().
class PrivateKeyring {
public:
    static inline const QString loginCollection =
        QStringLiteral("/org/freedesktop/secrets/collection/login");

    PrivateKeyring() = default;
    ~PrivateKeyring();
    PrivateKeyring(const PrivateKeyring&) = delete;
    PrivateKeyring& operator=(const PrivateKeyring&) = delete;

    bool start(const QString& password);
    bool daemonIsRunning() const { return m_daemon.state() == QProcess::Running; }
    // What the daemon printed so far (its complaints when it aborts).
    QString daemonOutput();

    QString busAddress() const { return m_bus.address(); }
    // The test's own connection to the private bus (for a stand-in prompter, for instance).
    QDBusConnection connection() const;
    // The system environment pointed at this bus and these folders.
    QProcessEnvironment environment() const;

    // Stores an item with secret-tool, as a person would.
    bool store(const QString& service, const QString& account, const QByteArray& secret);
    // Locks the login collection through org.freedesktop.Secret.Service.Lock.
    bool lock();
    // Whether the login collection is locked; none when the daemon does not answer.
    std::optional<bool> isLocked() const;

private:
    QTemporaryDir m_home;
    PrivateBus m_bus;
    QProcess m_daemon;
    QString m_connectionName;
};

} // namespace plimbo::test
