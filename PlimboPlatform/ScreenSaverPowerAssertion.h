#pragma once

#include "PowerAssertion.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <chrono>

class QDBusServiceWatcher;

namespace plimbo {

// org.freedesktop.ScreenSaver Inhibit/UnInhibit on the session bus, asynchronously. The desktop
// drops the inhibition by itself when our bus connection closes, so a crash or a quit never
// leaves it stuck, not even for a grant still on its way. The name's owner is followed: when
// the process that granted an inhibition leaves the name (a crash, an upgrade, --replace), the
// inhibition went with it and is reported lost. A provider that left the name without a
// successor gets `returnGrace` to come back (a crash and its restart): requests made meanwhile
// wait for it and then go to whoever owns the name. Main thread.
class ScreenSaverPowerAssertion final : public QObject, public PowerAssertion {
    Q_OBJECT
public:
    static constexpr const char* defaultServiceName = "org.freedesktop.ScreenSaver";
    static constexpr const char* objectPath = "/org/freedesktop/ScreenSaver";
    static constexpr const char* interfaceName = "org.freedesktop.ScreenSaver";

    // Shorter than the keep-awake service's wait for an answer.
    static constexpr std::chrono::milliseconds returnGrace{1500};

    ScreenSaverPowerAssertion();
    ScreenSaverPowerAssertion(const QDBusConnection& connection, const QString& serviceName);

    void requestNoDisplaySleepAssertion(const QString& name, ReplyHandler replied) override;
    void releaseAssertion(quint32 id) override;

private:
    QDBusMessage methodCall(const QString& method) const;
    void onOwnerChanged(const QString& oldOwner, const QString& newOwner);
    void sendInhibit(const QString& name, ReplyHandler replied);
    void sendWaiting();

    QDBusConnection m_connection;
    QString m_serviceName;
    QDBusServiceWatcher* m_watcher = nullptr;
    // Granted and not released, with the unique bus name of the process that granted each.
    QHash<quint32, QString> m_granted;
    // Processes that left the name: a grant still arriving from one of them holds nothing.
    QSet<QString> m_formerOwners;
    // Runs while the name has no owner after one left; requests wait in m_waiting meanwhile.
    QTimer m_returnGrace;
    QList<std::pair<QString, ReplyHandler>> m_waiting;
};

} // namespace plimbo
