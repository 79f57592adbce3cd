#pragma once

#include "PowerAssertion.h"

#include <QDBusConnection>

namespace plimbo {

// org.freedesktop.ScreenSaver Inhibit/UnInhibit on the session bus. The desktop drops the
// inhibition by itself when our bus connection closes, so a crash never leaves it stuck.
class ScreenSaverPowerAssertion final : public PowerAssertion {
public:
    static constexpr const char* defaultServiceName = "org.freedesktop.ScreenSaver";
    static constexpr const char* objectPath = "/org/freedesktop/ScreenSaver";
    static constexpr const char* interfaceName = "org.freedesktop.ScreenSaver";
    static constexpr int defaultTimeoutMs = 2000;

    ScreenSaverPowerAssertion();
    ScreenSaverPowerAssertion(const QDBusConnection& connection, const QString& serviceName,
                              int timeoutMs = defaultTimeoutMs);

    std::optional<quint32> createNoDisplaySleepAssertion(const QString& name) override;
    bool releaseAssertion(quint32 id) override;

    // Why the last call failed, for diagnostics; empty after a success.
    QString lastError() const { return m_lastError; }

private:
    QDBusConnection m_connection;
    QString m_serviceName;
    int m_timeoutMs;
    QString m_lastError;
};

} // namespace plimbo
