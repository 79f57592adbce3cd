#include "ScreenSaverPowerAssertion.h"

#include "Logging.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>

#include <limits>
#include <utility>

namespace plimbo {

namespace {

// libdbus's "no timeout": a grant that comes after any bound would still keep the screen awake,
// so the reply is always awaited and the caller decides what a late one means.
constexpr int noTimeout = std::numeric_limits<int>::max();

bool meansNoService(const QDBusError& error) {
    return error.type() == QDBusError::ServiceUnknown ||
           error.type() == QDBusError::UnknownObject ||
           error.type() == QDBusError::UnknownInterface ||
           error.type() == QDBusError::UnknownMethod || error.type() == QDBusError::Disconnected;
}

} // namespace

ScreenSaverPowerAssertion::ScreenSaverPowerAssertion()
    : ScreenSaverPowerAssertion(QDBusConnection::sessionBus(),
                                QString::fromLatin1(defaultServiceName)) {}

ScreenSaverPowerAssertion::ScreenSaverPowerAssertion(const QDBusConnection& connection,
                                                     const QString& serviceName)
    : m_connection(connection)
    , m_serviceName(serviceName) {
    if (m_connection.isConnected()) {
        m_watcher = new QDBusServiceWatcher(m_serviceName, m_connection,
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
                [this](const QString&, const QString& oldOwner, const QString& newOwner) {
                    onOwnerChanged(oldOwner, newOwner);
                });
    }
    m_returnGrace.setSingleShot(true);
    m_returnGrace.setInterval(returnGrace);
    connect(&m_returnGrace, &QTimer::timeout, this, &ScreenSaverPowerAssertion::sendWaiting);
}

void ScreenSaverPowerAssertion::onOwnerChanged(const QString& oldOwner, const QString& newOwner) {
    if (!newOwner.isEmpty()) {
        m_returnGrace.stop();
        sendWaiting();
    } else if (!oldOwner.isEmpty()) {
        m_returnGrace.start();
    }
    if (oldOwner.isEmpty()) {
        return;
    }
    m_formerOwners.insert(oldOwner);
    QList<quint32> lost;
    for (auto it = m_granted.begin(); it != m_granted.end();) {
        if (it.value() == oldOwner) {
            lost << it.key();
            it = m_granted.erase(it);
        } else {
            ++it;
        }
    }
    for (const quint32 id : lost) {
        qCInfo(platformLog) << "The screen saver" << oldOwner << "left; inhibition" << id
                            << "is gone";
        reportLost(id);
    }
}

QDBusMessage ScreenSaverPowerAssertion::methodCall(const QString& method) const {
    return QDBusMessage::createMethodCall(m_serviceName, QString::fromLatin1(objectPath),
                                          QString::fromLatin1(interfaceName), method);
}

void ScreenSaverPowerAssertion::requestNoDisplaySleepAssertion(const QString& name,
                                                               ReplyHandler replied) {
    if (!m_connection.isConnected()) {
        replied(PowerAssertionReply{std::nullopt, true, QStringLiteral("No D-Bus session bus")});
        return;
    }
    if (m_returnGrace.isActive()) {
        m_waiting.append({name, std::move(replied)});
        return;
    }
    sendInhibit(name, std::move(replied));
}

void ScreenSaverPowerAssertion::sendWaiting() {
    for (auto& [name, replied] : std::exchange(m_waiting, {})) {
        sendInhibit(name, std::move(replied));
    }
}

void ScreenSaverPowerAssertion::sendInhibit(const QString& name, ReplyHandler replied) {
    QDBusMessage call = methodCall(QStringLiteral("Inhibit"));
    call << QStringLiteral("Plimbo") << name;
    auto* watcher = new QDBusPendingCallWatcher(m_connection.asyncCall(call, noTimeout), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, watcher, name, replied = std::move(replied)]() mutable {
                watcher->deleteLater();
                const QDBusPendingReply<uint> reply = *watcher;
                if (reply.isError()) {
                    const QDBusError error = reply.error();
                    replied(
                        PowerAssertionReply{std::nullopt, meansNoService(error),
                                            error.name() + QStringLiteral(": ") + error.message()});
                    return;
                }
                if (!reply.isValid()) {
                    replied(PowerAssertionReply{std::nullopt, false,
                                                QStringLiteral("Unexpected reply to Inhibit")});
                    return;
                }
                const QString owner = reply.reply().service();
                if (m_formerOwners.contains(owner)) {
                    // Granted by a process that has left the name since: that grant holds nothing,
                    // so the one that owns the name now is asked.
                    requestNoDisplaySleepAssertion(name, std::move(replied));
                    return;
                }
                m_granted.insert(reply.value(), owner);
                replied(PowerAssertionReply{reply.value(), false, {}});
            });
}

void ScreenSaverPowerAssertion::releaseAssertion(quint32 id) {
    // A lost one is not released: its number may belong to someone else with the new owner.
    if (!m_granted.remove(id) || !m_connection.isConnected()) {
        return;
    }
    QDBusMessage call = methodCall(QStringLiteral("UnInhibit"));
    call << id;
    auto* watcher = new QDBusPendingCallWatcher(m_connection.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, id] {
        watcher->deleteLater();
        if (watcher->isError()) {
            qCWarning(platformLog) << "UnInhibit" << id << "failed:" << watcher->error().name();
        }
    });
}

} // namespace plimbo
