#include "FakeShortcutsPortal.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDateTime>
#include <QTimer>

namespace plimbo::test {

namespace {

const QString desktopPath = QString::fromLatin1(PortalHotKeyBackend::objectPath);
const QString shortcutsInterface = QString::fromLatin1(PortalHotKeyBackend::interfaceName);

QString senderPart(const QString& uniqueName) {
    QString sender = uniqueName.mid(1);
    return sender.replace(QLatin1Char('.'), QLatin1Char('_'));
}

} // namespace

FakeShortcutsPortal::FakeShortcutsPortal() {
    qDBusRegisterMetaType<PortalShortcutEntry>();
    qDBusRegisterMetaType<QList<PortalShortcutEntry>>();
    static int counter = 0;
    m_serviceName = QStringLiteral("org.plimbo.test.ShortcutsPortal.p%1_%2")
                        .arg(QCoreApplication::applicationPid())
                        .arg(++counter);
    m_connectionName = QStringLiteral("fake-") + m_serviceName;
}

FakeShortcutsPortal::~FakeShortcutsPortal() {
    QDBusConnection::disconnectFromBus(m_connectionName);
}

bool FakeShortcutsPortal::publish() {
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName);
    if (!bus.isConnected()) {
        return false;
    }
    if (!bus.objectRegisteredAt(desktopPath) &&
        !bus.registerVirtualObject(desktopPath, this, QDBusConnection::SubPath)) {
        return false;
    }
    return bus.registerService(m_serviceName);
}

bool FakeShortcutsPortal::quit() {
    requestedShortcuts.clear();
    sessionHandle.clear();
    return QDBusConnection(m_connectionName).unregisterService(m_serviceName);
}

bool FakeShortcutsPortal::closeSession() {
    QDBusMessage signal = QDBusMessage::createSignal(
        sessionHandle, QString::fromLatin1(PortalHotKeyBackend::sessionInterface),
        QStringLiteral("Closed"));
    signal << QVariantMap();
    return QDBusConnection(m_connectionName).send(signal);
}

void FakeShortcutsPortal::takeRequested(const QVariant& list) {
    requestedShortcuts.clear();
    const auto shortcuts = qdbus_cast<QList<PortalShortcutEntry>>(list);
    for (const PortalShortcutEntry& shortcut : shortcuts) {
        requestedShortcuts.insert(
            shortcut.id,
            {shortcut.properties.value(QStringLiteral("description")).toString(),
             shortcut.properties.value(QStringLiteral("preferred_trigger")).toString()});
    }
}

QString FakeShortcutsPortal::introspect(const QString&) const {
    return {};
}

QList<PortalShortcutEntry> FakeShortcutsPortal::boundList() const {
    QList<PortalShortcutEntry> list;
    for (auto it = requestedShortcuts.constBegin(); it != requestedShortcuts.constEnd(); ++it) {
        if (refusedIds.contains(it.key())) {
            continue;
        }
        list.append(
            {it.key(),
             {{QStringLiteral("description"), it->first},
              {QStringLiteral("trigger_description"), boundTriggers.value(it.key(), it->second)}}});
    }
    return list;
}

void FakeShortcutsPortal::answerThroughRequest(const QDBusMessage& message, uint response,
                                               const QVariantMap& results) {
    const QVariantMap options = qdbus_cast<QVariantMap>(message.arguments().constLast());
    const QString path = desktopPath + QStringLiteral("/request/") + senderPart(message.service()) +
                         QLatin1Char('/') +
                         options.value(QStringLiteral("handle_token")).toString();
    QDBusConnection bus(m_connectionName);
    bus.send(message.createReply(QVariant::fromValue(QDBusObjectPath(path))));
    QTimer::singleShot(0, this, [this, path, response, results] {
        QDBusMessage signal = QDBusMessage::createSignal(
            path, QString::fromLatin1(PortalHotKeyBackend::requestInterface),
            QStringLiteral("Response"));
        signal << response << results;
        QDBusConnection(m_connectionName).send(signal);
    });
}

bool FakeShortcutsPortal::handleMessage(const QDBusMessage& message,
                                        const QDBusConnection& connection) {
    Q_UNUSED(connection);
    QDBusConnection bus(m_connectionName);
    const QString member = message.member();
    calls << member;
    if (message.interface() == QLatin1String(PortalHotKeyBackend::registryInterface)) {
        if (!offersRegistry) {
            bus.send(
                message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                         QStringLiteral("No such method")));
            return true;
        }
        registeredApplicationId = message.arguments().value(0).toString();
        bus.send(message.createReply());
        return true;
    }
    if (member == QLatin1String("Get")) {
        if (!offersShortcuts || message.arguments().value(0).toString() != shortcutsInterface) {
            bus.send(message.createErrorReply(
                QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"),
                QStringLiteral("No such interface")));
            return true;
        }
        bus.send(message.createReply(QVariant::fromValue(QDBusVariant(uint(2)))));
        return true;
    }
    if (member == QLatin1String("Close")) {
        sessionClosed = message.path() == sessionHandle;
        bus.send(message.createReply());
        return true;
    }
    if (member == QLatin1String("CreateSession")) {
        const QVariantMap options = qdbus_cast<QVariantMap>(message.arguments().constLast());
        const QString token = options.value(QStringLiteral("session_handle_token")).toString();
        sessionTokens << token;
        sessionHandle = desktopPath + QStringLiteral("/session/") + senderPart(message.service()) +
                        QLatin1Char('/') + token;
        const QVariant listed = options.value(QStringLiteral("shortcuts"));
        createSessionListedShortcuts =
            listed.metaType() == QMetaType::fromType<QDBusArgument>() &&
            listed.value<QDBusArgument>().currentSignature() == QLatin1String("a(sa{sv})");
        QVariantMap results{{QStringLiteral("session_handle"), sessionHandle}};
        if (bindsFromCreateSession) {
            requestedShortcuts.clear();
            if (createSessionListedShortcuts) {
                takeRequested(listed);
            }
            results.insert(QStringLiteral("shortcuts"), QVariant::fromValue(boundList()));
        }
        answerThroughRequest(message, 0, results);
        return true;
    }
    if (member == QLatin1String("BindShortcuts")) {
        if (bindsFromCreateSession) {
            ++settingsOpened;
        } else {
            takeRequested(message.arguments().value(1));
        }
        QVariantMap results;
        if (bindResponse == 0) {
            results.insert(QStringLiteral("shortcuts"), QVariant::fromValue(boundList()));
        }
        answerThroughRequest(message, bindResponse, results);
        return true;
    }
    if (member == QLatin1String("ListShortcuts")) {
        answerThroughRequest(message, 0,
                             {{QStringLiteral("shortcuts"), QVariant::fromValue(boundList())}});
        return true;
    }
    bus.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                      member));
    return true;
}

bool FakeShortcutsPortal::activate(const QString& id) {
    QDBusMessage signal =
        QDBusMessage::createSignal(desktopPath, shortcutsInterface, QStringLiteral("Activated"));
    signal << QVariant::fromValue(QDBusObjectPath(sessionHandle)) << id
           << quint64(QDateTime::currentMSecsSinceEpoch()) << QVariantMap();
    return QDBusConnection(m_connectionName).send(signal);
}

bool FakeShortcutsPortal::changeTrigger(const QString& id, const QString& trigger) {
    boundTriggers.insert(id, trigger);
    QList<PortalShortcutEntry> changed;
    for (const PortalShortcutEntry& entry : boundList()) {
        if (entry.id == id) {
            changed.append(entry);
        }
    }
    QDBusMessage signal = QDBusMessage::createSignal(desktopPath, shortcutsInterface,
                                                     QStringLiteral("ShortcutsChanged"));
    signal << QVariant::fromValue(QDBusObjectPath(sessionHandle)) << QVariant::fromValue(changed);
    return QDBusConnection(m_connectionName).send(signal);
}

} // namespace plimbo::test
