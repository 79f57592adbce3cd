#pragma once

#include "PowerAssertion.h"

#include <QDBusConnection>
#include <QObject>

namespace plimbo {

// org.freedesktop.ScreenSaver Inhibit/UnInhibit on the session bus, asynchronously. The desktop
// drops the inhibition by itself when our bus connection closes, so a crash or a quit never
// leaves it stuck, not even for a grant still on its way. Main thread.
class ScreenSaverPowerAssertion final : public QObject, public PowerAssertion {
    Q_OBJECT
public:
    static constexpr const char* defaultServiceName = "org.freedesktop.ScreenSaver";
    static constexpr const char* objectPath = "/org/freedesktop/ScreenSaver";
    static constexpr const char* interfaceName = "org.freedesktop.ScreenSaver";

    ScreenSaverPowerAssertion();
    ScreenSaverPowerAssertion(const QDBusConnection& connection, const QString& serviceName);

    void requestNoDisplaySleepAssertion(const QString& name, ReplyHandler replied) override;
    void releaseAssertion(quint32 id) override;

private:
    QDBusMessage methodCall(const QString& method) const;

    QDBusConnection m_connection;
    QString m_serviceName;
};

} // namespace plimbo
