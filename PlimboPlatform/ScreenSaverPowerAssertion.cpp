#include "ScreenSaverPowerAssertion.h"

#include <QDBusMessage>

namespace plimbo {

ScreenSaverPowerAssertion::ScreenSaverPowerAssertion()
    : ScreenSaverPowerAssertion(QDBusConnection::sessionBus(),
                                QString::fromLatin1(defaultServiceName)) {}

ScreenSaverPowerAssertion::ScreenSaverPowerAssertion(const QDBusConnection& connection,
                                                     const QString& serviceName, int timeoutMs)
    : m_connection(connection)
    , m_serviceName(serviceName)
    , m_timeoutMs(timeoutMs) {}

std::optional<quint32>
ScreenSaverPowerAssertion::createNoDisplaySleepAssertion(const QString& name) {
    if (!m_connection.isConnected()) {
        m_lastError = QStringLiteral("No D-Bus session bus");
        return std::nullopt;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        m_serviceName, QString::fromLatin1(objectPath), QString::fromLatin1(interfaceName),
        QStringLiteral("Inhibit"));
    call << QStringLiteral("Plimbo") << name;
    // Bounded: D-Bus would otherwise wait 25 s for a desktop that does not answer.
    const QDBusMessage reply = m_connection.call(call, QDBus::Block, m_timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1 ||
        reply.arguments().constFirst().metaType() != QMetaType::fromType<uint>()) {
        m_lastError = reply.type() == QDBusMessage::ErrorMessage
                          ? reply.errorName() + QStringLiteral(": ") + reply.errorMessage()
                          : QStringLiteral("Unexpected reply to Inhibit");
        return std::nullopt;
    }
    m_lastError.clear();
    return reply.arguments().constFirst().toUInt();
}

bool ScreenSaverPowerAssertion::releaseAssertion(quint32 id) {
    if (!m_connection.isConnected()) {
        m_lastError = QStringLiteral("No D-Bus session bus");
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        m_serviceName, QString::fromLatin1(objectPath), QString::fromLatin1(interfaceName),
        QStringLiteral("UnInhibit"));
    call << id;
    const QDBusMessage reply = m_connection.call(call, QDBus::Block, m_timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        m_lastError = reply.errorName() + QStringLiteral(": ") + reply.errorMessage();
        return false;
    }
    m_lastError.clear();
    return true;
}

} // namespace plimbo
