#include "ScreenSaverPowerAssertion.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QLoggingCategory>

#include <limits>

namespace plimbo {

namespace {

Q_LOGGING_CATEGORY(platformLog, "plimbo.platform")

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
    , m_serviceName(serviceName) {}

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
    QDBusMessage call = methodCall(QStringLiteral("Inhibit"));
    call << QStringLiteral("Plimbo") << name;
    auto* watcher = new QDBusPendingCallWatcher(m_connection.asyncCall(call, noTimeout), this);
    connect(
        watcher, &QDBusPendingCallWatcher::finished, this, [watcher, replied = std::move(replied)] {
            watcher->deleteLater();
            const QDBusPendingReply<uint> reply = *watcher;
            if (reply.isError()) {
                const QDBusError error = reply.error();
                replied(PowerAssertionReply{std::nullopt, meansNoService(error),
                                            error.name() + QStringLiteral(": ") + error.message()});
                return;
            }
            if (!reply.isValid()) {
                replied(PowerAssertionReply{std::nullopt, false,
                                            QStringLiteral("Unexpected reply to Inhibit")});
                return;
            }
            replied(PowerAssertionReply{reply.value(), false, {}});
        });
}

void ScreenSaverPowerAssertion::releaseAssertion(quint32 id) {
    if (!m_connection.isConnected()) {
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
