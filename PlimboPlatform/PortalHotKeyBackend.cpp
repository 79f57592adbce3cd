#include "PortalHotKeyBackend.h"

#include "Logging.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QMetaObject>
#include <QSet>

#include <algorithm>

namespace plimbo {

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcutEntry& entry) {
    argument.beginStructure();
    argument << entry.id << entry.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcutEntry& entry) {
    argument.beginStructure();
    argument >> entry.id >> entry.properties;
    argument.endStructure();
    return argument;
}

namespace {

// Calls that answer at once (the answer itself comes later, through the Request).
constexpr int callTimeoutMs = 25000;

const QString shortcutListSignature = QStringLiteral("a(sa{sv})");

void registerTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<PortalShortcutEntry>();
        qDBusRegisterMetaType<QList<PortalShortcutEntry>>();
        return true;
    }();
    Q_UNUSED(registered);
}

// A shortcut list as it arrives inside a variant or as a signal argument; empty when the
// value has another shape.
std::optional<QList<PortalShortcutEntry>> shortcutList(const QVariant& value) {
    if (value.metaType() != QMetaType::fromType<QDBusArgument>()) {
        return std::nullopt;
    }
    const QDBusArgument argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != shortcutListSignature) {
        return std::nullopt;
    }
    return qdbus_cast<QList<PortalShortcutEntry>>(argument);
}

QVariantMap resultMap(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QVariantMap>()) {
        return value.toMap();
    }
    if (value.metaType() == QMetaType::fromType<QDBusArgument>()) {
        const QDBusArgument argument = value.value<QDBusArgument>();
        if (argument.currentSignature() == QLatin1String("a{sv}")) {
            return qdbus_cast<QVariantMap>(argument);
        }
    }
    return {};
}

QString objectPathText(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>()) {
        return value.value<QDBusObjectPath>().path();
    }
    if (value.metaType() == QMetaType::fromType<QString>()) {
        return value.toString();
    }
    return {};
}

QString keyName(Qt::Key key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return QString(QChar(u'a' + (key - Qt::Key_A)));
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return QString(QChar(u'0' + (key - Qt::Key_0)));
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    }
    switch (key) {
    case Qt::Key_Space:
        return QStringLiteral("space");
    case Qt::Key_Return:
        return QStringLiteral("Return");
    case Qt::Key_Escape:
        return QStringLiteral("Escape");
    case Qt::Key_Tab:
        return QStringLiteral("Tab");
    case Qt::Key_Backspace:
        return QStringLiteral("BackSpace");
    case Qt::Key_Delete:
        return QStringLiteral("Delete");
    case Qt::Key_Home:
        return QStringLiteral("Home");
    case Qt::Key_End:
        return QStringLiteral("End");
    case Qt::Key_Left:
        return QStringLiteral("Left");
    case Qt::Key_Right:
        return QStringLiteral("Right");
    case Qt::Key_Up:
        return QStringLiteral("Up");
    case Qt::Key_Down:
        return QStringLiteral("Down");
    default:
        return {};
    }
}

PortalResponse portalResponse(uint code) {
    switch (code) {
    case 0:
        return PortalResponse::success;
    case 1:
        return PortalResponse::cancelled;
    default:
        return PortalResponse::other;
    }
}

QSet<QString>& connectionsWithApplicationId() {
    static QSet<QString> names;
    return names;
}

} // namespace

// Waits for the Response of one portal request and hands it on once.
class PortalRequest : public QObject {
    Q_OBJECT

public:
    using Done = std::function<void(PortalResponse, const QVariantMap&)>;

    PortalRequest(QDBusConnection connection, QString serviceName, Done done, QObject* parent)
        : QObject(parent)
        , m_connection(std::move(connection))
        , m_serviceName(std::move(serviceName))
        , m_done(std::move(done)) {}

    void follow(const QString& path) {
        if (path == m_path || path.isEmpty()) {
            return;
        }
        unfollow();
        m_path = path;
        m_connection.connect(m_serviceName, m_path,
                             QString::fromLatin1(PortalHotKeyBackend::requestInterface),
                             QStringLiteral("Response"), this, SLOT(response(QDBusMessage)));
    }

    void finish(PortalResponse response, const QVariantMap& results) {
        if (!m_done) {
            return;
        }
        unfollow();
        const Done done = std::move(m_done);
        m_done = nullptr;
        deleteLater();
        done(response, results);
    }

public slots:
    void response(const QDBusMessage& message) {
        const QList<QVariant> arguments = message.arguments();
        if (arguments.size() != 2) {
            finish(PortalResponse::other, {});
            return;
        }
        finish(portalResponse(arguments[0].toUInt()), resultMap(arguments[1]));
    }

private:
    void unfollow() {
        if (!m_path.isEmpty()) {
            m_connection.disconnect(m_serviceName, m_path,
                                    QString::fromLatin1(PortalHotKeyBackend::requestInterface),
                                    QStringLiteral("Response"), this, SLOT(response(QDBusMessage)));
        }
        m_path.clear();
    }

    QDBusConnection m_connection;
    QString m_serviceName;
    Done m_done;
    QString m_path;
};

PortalHotKeyBackend::PortalHotKeyBackend(const QDBusConnection& connection,
                                         const QString& serviceName,
                                         QHash<quint32, Shortcut> shortcuts, QObject* parent)
    : QObject(parent)
    , m_connection(connection)
    , m_serviceName(serviceName)
    , m_shortcuts(std::move(shortcuts)) {
    registerTypes();
    m_ownerWatcher = new QDBusServiceWatcher(m_serviceName, m_connection,
                                             QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_ownerWatcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                portalOwnerChanged(newOwner);
            });
}

PortalHotKeyBackend::~PortalHotKeyBackend() {
    m_changed = nullptr;
    if (!m_sessionHandle.isEmpty() && m_connection.isConnected()) {
        // Nothing to wait for: the desktop drops the session's shortcuts when it closes.
        m_connection.send(QDBusMessage::createMethodCall(m_serviceName, m_sessionHandle,
                                                         QString::fromLatin1(sessionInterface),
                                                         QStringLiteral("Close")));
    }
}

HotKeyStatus PortalHotKeyBackend::installHandler(Handler handler) {
    if (!m_connection.isConnected()) {
        m_reason = tr("There is no D-Bus session bus, so the desktop's global shortcuts portal "
                      "cannot be reached.");
        return HotKeyStatus::noShortcutsFacility;
    }
    m_handler = std::move(handler);
    return HotKeyStatus::success;
}

void PortalHotKeyBackend::removeHandler() {
    m_handler = nullptr;
}

void PortalHotKeyBackend::setBindingsChangedHandler(std::function<void()> handler) {
    m_changed = std::move(handler);
}

QString PortalHotKeyBackend::preferredTrigger(QKeyCombination keys) {
    const QString key = keyName(keys.key());
    const Qt::KeyboardModifiers modifiers = keys.keyboardModifiers();
    if (key.isEmpty() || (modifiers & ~supportedModifiers) != Qt::NoModifier) {
        return {};
    }
    QStringList parts;
    if (modifiers & Qt::MetaModifier) {
        parts << QStringLiteral("LOGO");
    }
    if (modifiers & Qt::ControlModifier) {
        parts << QStringLiteral("CTRL");
    }
    if (modifiers & Qt::AltModifier) {
        parts << QStringLiteral("ALT");
    }
    if (modifiers & Qt::ShiftModifier) {
        parts << QStringLiteral("SHIFT");
    }
    parts << key;
    return parts.join(QLatin1Char('+'));
}

HotKeyBackend::Registration PortalHotKeyBackend::registerHotKey(quint32 id, QKeyCombination keys) {
    if (!m_connection.isConnected()) {
        return {HotKeyStatus::noShortcutsFacility, 0};
    }
    if (!m_handler) {
        return {HotKeyStatus::handlerNotInstalled, 0};
    }
    const QString trigger = preferredTrigger(keys);
    if (trigger.isEmpty()) {
        return {HotKeyStatus::unknownKey, 0};
    }
    for (const Entry& entry : std::as_const(m_entries)) {
        if (entry.id == id || entry.preferredTrigger == trigger) {
            return {HotKeyStatus::alreadyTaken, 0};
        }
    }
    const Shortcut names =
        m_shortcuts.value(id, Shortcut{QStringLiteral("shortcut-%1").arg(id), QString()});
    Entry entry{id, names.id, names.description.isEmpty() ? names.id : names.description, trigger,
                Binding{HotKeyStatus::pending, {}}};
    if (!m_reason.isEmpty() && m_started && m_sessionHandle.isEmpty()) {
        // The portal already answered that it cannot hold shortcuts.
        return {HotKeyStatus::noShortcutsFacility, 0};
    }
    const quint64 ref = m_nextRef++;
    m_entries.insert(ref, entry);
    if (!m_started) {
        scheduleStart();
    } else if (!m_sessionHandle.isEmpty()) {
        // Until the session exists, its first binding takes every entry.
        QMetaObject::invokeMethod(this, &PortalHotKeyBackend::bindShortcuts, Qt::QueuedConnection);
    }
    return {HotKeyStatus::pending, ref};
}

void PortalHotKeyBackend::unregisterHotKey(quint64 ref) {
    // The portal binds per session; a dropped identifier simply runs nothing any more.
    m_entries.remove(ref);
}

HotKeyBackend::Binding PortalHotKeyBackend::binding(quint64 ref) const {
    const auto it = m_entries.constFind(ref);
    return it == m_entries.constEnd() ? Binding{HotKeyStatus::refusedByDesktop, {}} : it->binding;
}

void PortalHotKeyBackend::scheduleStart() {
    // The shortcuts registered in one turn of the event loop go to the desktop together, so
    // it can show them in one dialog.
    if (m_startScheduled) {
        return;
    }
    m_startScheduled = true;
    QMetaObject::invokeMethod(this, &PortalHotKeyBackend::start, Qt::QueuedConnection);
}

void PortalHotKeyBackend::start() {
    m_started = true;
    const QString connectionKey = this->connectionKey();
    if (connectionsWithApplicationId().contains(connectionKey)) {
        checkInterface();
        return;
    }
    // Before any other portal call: the portal fixes a connection's application id at its first
    // call. Portals without the registry answer an error, and then guess the id.
    QDBusMessage call = QDBusMessage::createMethodCall(
        m_serviceName, QString::fromLatin1(objectPath), QString::fromLatin1(registryInterface),
        QStringLiteral("Register"));
    call << QString::fromLatin1(applicationID) << QVariantMap();
    auto* watcher = new QDBusPendingCallWatcher(m_connection.asyncCall(call, callTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, connectionKey, generation = m_generation](QDBusPendingCallWatcher* done) {
                done->deleteLater();
                if (generation != m_generation) {
                    return;
                }
                const QString error = done->reply().errorName();
                // Only a portal that is there has fixed the id (or refused to).
                if (!error.startsWith(QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")) &&
                    !error.startsWith(QLatin1String("org.freedesktop.DBus.Error.NoReply")) &&
                    !error.startsWith(QLatin1String("org.freedesktop.DBus.Error.Timeout"))) {
                    connectionsWithApplicationId().insert(connectionKey);
                }
                checkInterface();
            });
}

void PortalHotKeyBackend::checkInterface() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        m_serviceName, QString::fromLatin1(objectPath),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << QString::fromLatin1(interfaceName) << QStringLiteral("version");
    auto* watcher = new QDBusPendingCallWatcher(m_connection.asyncCall(call, callTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation = m_generation](QDBusPendingCallWatcher* done) {
                done->deleteLater();
                if (generation != m_generation) {
                    return;
                }
                const QDBusMessage reply = done->reply();
                if (reply.type() == QDBusMessage::ReplyMessage) {
                    createSession();
                    return;
                }
                const QString error = reply.errorName();
                if (error == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
                    error == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
                    error == QLatin1String("org.freedesktop.DBus.Error.Timeout")) {
                    setAll(HotKeyStatus::noShortcutsFacility,
                           tr("No XDG desktop portal answers in this Wayland session, so global "
                              "shortcuts cannot be registered."));
                } else {
                    setAll(HotKeyStatus::noShortcutsFacility,
                           tr("This desktop's portal offers no global shortcuts "
                              "(org.freedesktop.portal.GlobalShortcuts), and in a Wayland "
                              "session there is no other way to register them."));
                }
            });
}

void PortalHotKeyBackend::createSession() {
    const QString token = QString::fromLatin1(sessionToken);
    const QString predicted = QString::fromLatin1(objectPath) + QStringLiteral("/session/") +
                              senderPart() + QLatin1Char('/') + token;
    // Plasma 5.27 binds only what CreateSession lists (its BindShortcuts merely opens the
    // desktop's settings); portals that follow the final interface ignore the option.
    callWithRequest(
        QStringLiteral("CreateSession"), {},
        {{QStringLiteral("session_handle_token"), token},
         {QStringLiteral("shortcuts"), QVariant::fromValue(requestedShortcuts())}},
        [this, predicted](PortalResponse response, const QVariantMap& results) {
            if (response != PortalResponse::success) {
                setAll(HotKeyStatus::refusedByDesktop,
                       tr("The desktop refused to open a global shortcuts session."));
                return;
            }
            m_sessionHandle = objectPathText(results.value(QStringLiteral("session_handle")));
            if (m_sessionHandle.isEmpty()) {
                m_sessionHandle = predicted;
            }
            const QString path = QString::fromLatin1(objectPath);
            const QString interface = QString::fromLatin1(interfaceName);
            m_connection.connect(m_serviceName, path, interface, QStringLiteral("Activated"), this,
                                 SLOT(activated(QDBusMessage)));
            m_connection.connect(m_serviceName, path, interface, QStringLiteral("ShortcutsChanged"),
                                 this, SLOT(shortcutsChanged(QDBusMessage)));
            m_connection.connect(m_serviceName, m_sessionHandle,
                                 QString::fromLatin1(sessionInterface), QStringLiteral("Closed"),
                                 this, SLOT(sessionClosed(QDBusMessage)));
            if (const auto bound = shortcutList(results.value(QStringLiteral("shortcuts")))) {
                QSet<QString> listed;
                for (const PortalShortcutEntry& shortcut : *bound) {
                    listed.insert(shortcut.id);
                }
                const bool listsAll =
                    std::all_of(m_entries.cbegin(), m_entries.cend(), [&](const Entry& entry) {
                        return listed.contains(entry.portalID);
                    });
                if (listsAll) {
                    applyShortcuts(*bound);
                    return;
                }
            }
            bindShortcuts();
        });
}

QList<PortalShortcutEntry> PortalHotKeyBackend::requestedShortcuts() const {
    QList<PortalShortcutEntry> shortcuts;
    for (const Entry& entry : std::as_const(m_entries)) {
        shortcuts.append({entry.portalID,
                          {{QStringLiteral("description"), entry.description},
                           {QStringLiteral("preferred_trigger"), entry.preferredTrigger}}});
    }
    return shortcuts;
}

void PortalHotKeyBackend::bindShortcuts() {
    if (m_sessionHandle.isEmpty()) {
        return;
    }
    const QList<PortalShortcutEntry> shortcuts = requestedShortcuts();
    if (shortcuts.isEmpty()) {
        return;
    }
    callWithRequest(QStringLiteral("BindShortcuts"),
                    {QVariant::fromValue(QDBusObjectPath(m_sessionHandle)),
                     QVariant::fromValue(shortcuts), QString()},
                    {}, [this](PortalResponse response, const QVariantMap& results) {
                        if (response != PortalResponse::success) {
                            // The user declined in the desktop's dialog, or it failed.
                            for (Entry& entry : m_entries) {
                                entry.binding = {HotKeyStatus::refusedByDesktop, {}};
                            }
                            notifyChanged();
                            return;
                        }
                        if (const auto bound =
                                shortcutList(results.value(QStringLiteral("shortcuts")))) {
                            applyShortcuts(*bound);
                        }
                        // What the desktop holds after the user's choices, whatever the answer
                        // above listed.
                        listShortcuts();
                    });
}

void PortalHotKeyBackend::listShortcuts() {
    if (m_sessionHandle.isEmpty()) {
        return;
    }
    callWithRequest(
        QStringLiteral("ListShortcuts"), {QVariant::fromValue(QDBusObjectPath(m_sessionHandle))},
        {}, [this](PortalResponse response, const QVariantMap& results) {
            if (response != PortalResponse::success) {
                qCWarning(platformLog) << "The desktop portal did not list the global shortcuts";
                return;
            }
            if (const auto bound = shortcutList(results.value(QStringLiteral("shortcuts")))) {
                applyShortcuts(*bound);
            }
        });
}

void PortalHotKeyBackend::callWithRequest(
    const QString& method, QList<QVariant> arguments, QVariantMap options,
    std::function<void(PortalResponse, const QVariantMap& results)> done) {
    const QString token = nextToken();
    options.insert(QStringLiteral("handle_token"), token);
    auto guarded = [this, generation = m_generation,
                    done = std::move(done)](PortalResponse response, const QVariantMap& results) {
        if (generation == m_generation) {
            done(response, results);
        }
    };
    auto* request = new PortalRequest(m_connection, m_serviceName, std::move(guarded), this);
    // The Response may come before the call's reply: follow the path the portal will use first.
    request->follow(QString::fromLatin1(objectPath) + QStringLiteral("/request/") + senderPart() +
                    QLatin1Char('/') + token);

    QDBusMessage call = QDBusMessage::createMethodCall(
        m_serviceName, QString::fromLatin1(objectPath), QString::fromLatin1(interfaceName), method);
    arguments.append(options);
    call.setArguments(arguments);
    auto* watcher =
        new QDBusPendingCallWatcher(m_connection.asyncCall(call, callTimeoutMs), request);
    connect(watcher, &QDBusPendingCallWatcher::finished, request,
            [request, method](QDBusPendingCallWatcher* reply) {
                reply->deleteLater();
                const QDBusMessage message = reply->reply();
                if (message.type() != QDBusMessage::ReplyMessage ||
                    message.arguments().size() != 1) {
                    qCWarning(platformLog) << "The desktop portal's" << method
                                           << "call failed:" << message.errorName();
                    request->finish(PortalResponse::other, {});
                    return;
                }
                // Older portals choose the request path themselves.
                request->follow(objectPathText(message.arguments().constFirst()));
            });
}

void PortalHotKeyBackend::applyShortcuts(const QList<PortalShortcutEntry>& shortcuts) {
    QHash<QString, QString> triggers;
    for (const PortalShortcutEntry& shortcut : shortcuts) {
        triggers.insert(
            shortcut.id,
            shortcut.properties.value(QStringLiteral("trigger_description")).toString());
    }
    for (Entry& entry : m_entries) {
        const auto found = triggers.constFind(entry.portalID);
        if (found == triggers.constEnd()) {
            entry.binding = {HotKeyStatus::refusedByDesktop, {}};
        } else if (found->trimmed().isEmpty()) {
            // Listed without a trigger: the desktop holds it, but no key fires it.
            entry.binding = {HotKeyStatus::noKeys, {}};
        } else {
            entry.binding = {HotKeyStatus::success, found->trimmed()};
        }
    }
    notifyChanged();
}

void PortalHotKeyBackend::setAll(HotKeyStatus status, const QString& reason) {
    m_reason = reason;
    for (Entry& entry : m_entries) {
        entry.binding = {status, {}};
    }
    notifyChanged();
}

void PortalHotKeyBackend::notifyChanged() {
    if (m_changed) {
        const std::function<void()> changed = m_changed;
        changed();
    }
}

void PortalHotKeyBackend::activated(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || !m_handler || objectPathText(arguments[0]) != m_sessionHandle) {
        return;
    }
    const QString id = arguments[1].toString();
    for (Entry& entry : m_entries) {
        if (entry.portalID != id) {
            continue;
        }
        const quint32 shortcutID = entry.id;
        if (entry.binding.status != HotKeyStatus::success) {
            // The desktop holds it after all (some bind from their own configuration).
            entry.binding = {HotKeyStatus::success, {}};
            notifyChanged();
        }
        // The handler may drop this backend's registrations; copy it first.
        const Handler handler = m_handler;
        if (handler) {
            handler(shortcutID);
        }
        return;
    }
}

void PortalHotKeyBackend::shortcutsChanged(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() != 2 || objectPathText(arguments[0]) != m_sessionHandle) {
        return;
    }
    if (!shortcutList(arguments[1])) {
        return;
    }
    // The signal may name only the shortcuts that changed: ask for the whole list.
    listShortcuts();
}

void PortalHotKeyBackend::sessionClosed(const QDBusMessage& message) {
    if (message.path() != m_sessionHandle) {
        return;
    }
    forgetSession();
    setAll(HotKeyStatus::noShortcutsFacility,
           tr("The desktop closed Plimbo's shortcuts session, so no global shortcut works now. "
              "Press Retry Shortcuts to bind them again."));
}

void PortalHotKeyBackend::portalOwnerChanged(const QString& newOwner) {
    if (!m_started) {
        return;
    }
    // Whatever the old portal was still answering belongs to a session that is gone.
    ++m_generation;
    forgetSession();
    connectionsWithApplicationId().remove(connectionKey());
    if (newOwner.isEmpty()) {
        setAll(HotKeyStatus::noShortcutsFacility,
               tr("The desktop portal has stopped, so no global shortcut works now. Plimbo binds "
                  "them again when it is back."));
        return;
    }
    m_reason.clear();
    setAll(HotKeyStatus::pending, {});
    start();
}

void PortalHotKeyBackend::forgetSession() {
    if (m_sessionHandle.isEmpty()) {
        return;
    }
    const QString path = QString::fromLatin1(objectPath);
    const QString interface = QString::fromLatin1(interfaceName);
    m_connection.disconnect(m_serviceName, path, interface, QStringLiteral("Activated"), this,
                            SLOT(activated(QDBusMessage)));
    m_connection.disconnect(m_serviceName, path, interface, QStringLiteral("ShortcutsChanged"),
                            this, SLOT(shortcutsChanged(QDBusMessage)));
    m_connection.disconnect(m_serviceName, m_sessionHandle, QString::fromLatin1(sessionInterface),
                            QStringLiteral("Closed"), this, SLOT(sessionClosed(QDBusMessage)));
    m_sessionHandle.clear();
}

QString PortalHotKeyBackend::connectionKey() const {
    return m_connection.name() + QLatin1Char('/') + m_serviceName;
}

QString PortalHotKeyBackend::nextToken() {
    // Unique in the process: request paths are per connection.
    static quint64 counter = 0;
    return QStringLiteral("plimbo%1").arg(++counter);
}

QString PortalHotKeyBackend::senderPart() const {
    QString sender = m_connection.baseService();
    sender.remove(0, sender.startsWith(QLatin1Char(':')) ? 1 : 0);
    return sender.replace(QLatin1Char('.'), QLatin1Char('_'));
}

} // namespace plimbo

#include "PortalHotKeyBackend.moc"
