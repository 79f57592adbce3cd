#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace plimbo::test {

// A session bus of our own with no activatable services, so nothing starts a real keyring or
// prompter on it; tests that lock a keyring cannot disturb others on the shared bus.
class PrivateBus {
public:
    PrivateBus() = default;
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool start();
    QString address() const { return m_address; }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
};

} // namespace plimbo::test
