#include "PortalMotionPreference.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QPointer>

#include <optional>

namespace plimbo {

namespace {

// The portal's Read wraps the value in one more variant than its signal does.
QVariant unwrapped(QVariant value) {
    for (int depth = 0; depth < 4 && value.metaType() == QMetaType::fromType<QDBusVariant>();
         ++depth) {
        value = qvariant_cast<QDBusVariant>(value).variant();
    }
    return value;
}

} // namespace

PortalMotionPreference::PortalMotionPreference(QObject* parent)
    : PortalMotionPreference(QDBusConnection::sessionBus(), QString::fromLatin1(defaultServiceName),
                             parent) {}

PortalMotionPreference::PortalMotionPreference(const QDBusConnection& connection,
                                               const QString& serviceName, QObject* parent)
    : MotionPreference(parent)
    , m_connection(connection)
    , m_serviceName(serviceName) {
    if (!m_connection.isConnected()) {
        return;
    }
    m_connection.connect(m_serviceName, QString::fromLatin1(objectPath),
                         QString::fromLatin1(interfaceName), QStringLiteral("SettingChanged"), this,
                         SLOT(settingChanged(QDBusMessage)));
    read(gnomeNamespace, gnomeKey);
    read(kdeNamespace, kdeKey);
}

void PortalMotionPreference::read(const char* nameSpace, const char* key) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(m_serviceName, QString::fromLatin1(objectPath),
                                       QString::fromLatin1(interfaceName), QStringLiteral("Read"));
    call << QString::fromLatin1(nameSpace) << QString::fromLatin1(key);
    // Bounded: a portal that is being started or hangs must not hold the setting back forever.
    auto* watcher = new QDBusPendingCallWatcher(m_connection.asyncCall(call, 3000), this);
    const QString space = QString::fromLatin1(nameSpace);
    const QString name = QString::fromLatin1(key);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, space, name](QDBusPendingCallWatcher* done) {
                const QDBusMessage reply = done->reply();
                done->deleteLater();
                // No portal, or a desktop without this setting: nothing to follow.
                if (reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 1) {
                    apply(space, name, reply.arguments().constFirst());
                }
            });
}

void PortalMotionPreference::settingChanged(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() == 3) {
        apply(arguments[0].toString(), arguments[1].toString(), arguments[2]);
    }
}

void PortalMotionPreference::apply(const QString& nameSpace, const QString& key,
                                   const QVariant& value) {
    const QVariant plain = unwrapped(value);
    std::optional<bool> reduces;
    if (nameSpace == QLatin1String(gnomeNamespace) && key == QLatin1String(gnomeKey) &&
        plain.metaType() == QMetaType::fromType<bool>()) {
        reduces = !plain.toBool();
    } else if (nameSpace == QLatin1String(kdeNamespace) && key == QLatin1String(kdeKey)) {
        bool isNumber = false;
        const double factor = plain.toDouble(&isNumber);
        if (isNumber) {
            reduces = factor == 0.0;
        }
    }
    if (reduces && *reduces != m_reduces) {
        m_reduces = *reduces;
        emit reducesMotionChanged(m_reduces);
    }
}

} // namespace plimbo
