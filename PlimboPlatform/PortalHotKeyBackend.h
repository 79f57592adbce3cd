#pragma once

#include "HotKeyBackend.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QHash>
#include <QMap>
#include <QObject>
#include <QVariantMap>

class QDBusMessage;
class QDBusServiceWatcher;

namespace plimbo {

// One entry of the portal's shortcut lists, a(sa{sv}): an id with "description",
// "preferred_trigger" or "trigger_description".
struct PortalShortcutEntry {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcutEntry& entry);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcutEntry& entry);

// How a portal request ended (org.freedesktop.portal.Request's Response: 0, 1, or anything else).
enum class PortalResponse {
    success,
    // The user dismissed the desktop's dialog.
    cancelled,
    // The request ended some other way, or its answer could not be read.
    other,
};

// Global shortcuts through the XDG desktop portal (org.freedesktop.portal.GlobalShortcuts),
// the one route that sees keys in every window of a Wayland session. The desktop binds them
// for a session of ours, may ask the user first and may bind other keys than we asked for:
// registrations answer pending and binding() follows the desktop's answers, and the
// portal leaving the bus and coming back. Nothing here waits for the bus.
class PortalHotKeyBackend final : public QObject, public HotKeyBackend {
    Q_OBJECT

public:
    static constexpr const char* objectPath = "/org/freedesktop/portal/desktop";
    static constexpr const char* interfaceName = "org.freedesktop.portal.GlobalShortcuts";
    static constexpr const char* registryInterface = "org.freedesktop.host.portal.Registry";
    static constexpr const char* requestInterface = "org.freedesktop.portal.Request";
    static constexpr const char* sessionInterface = "org.freedesktop.portal.Session";
    // Portals name a program outside a sandbox by its desktop entry.
    static constexpr const char* applicationID = "com.plimbo.utility";
    // The same on every start and retry: some desktops name the set of shortcuts after it
    // (Plasma 5.27 keeps one component per token) and keep the user's keys under that name.
    static constexpr const char* sessionToken = "plimbo";

    // How the desktop lists one of our identifiers; stable, as the desktop keeps the user's
    // choice under it.
    struct Shortcut {
        QString id;
        QString description;
    };

    PortalHotKeyBackend(const QDBusConnection& connection, const QString& serviceName,
                        QHash<quint32, Shortcut> shortcuts, QObject* parent = nullptr);
    // Closes the session, which releases every shortcut it bound.
    ~PortalHotKeyBackend() override;

    HotKeyStatus installHandler(Handler handler) override;
    void removeHandler() override;
    Registration registerHotKey(quint32 id, QKeyCombination keys) override;
    void unregisterHotKey(quint64 ref) override;
    Binding binding(quint64 ref) const override;
    QString unavailableReason() const override { return m_reason; }
    void setBindingsChangedHandler(std::function<void()> handler) override;

    // The XDG shortcuts notation of a combination ("LOGO+ALT+space"); empty for a key or
    // modifier it has no name for.
    static QString preferredTrigger(QKeyCombination keys);

private slots:
    void activated(const QDBusMessage& message);
    void shortcutsChanged(const QDBusMessage& message);
    void sessionClosed(const QDBusMessage& message);

private:
    struct Entry {
        quint32 id = 0;
        QString portalID;
        QString description;
        QString preferredTrigger;
        Binding binding;
    };

    void scheduleStart();
    void start();
    void checkInterface();
    void createSession();
    void bindShortcuts();
    QList<PortalShortcutEntry> requestedShortcuts() const;
    // The portal left the bus or came back (restarted, or started for the first time).
    void portalOwnerChanged(const QString& newOwner);
    void forgetSession();
    void listShortcuts();
    // Calls a method that answers through a Request object; done gets its Response.
    void callWithRequest(const QString& method, QList<QVariant> arguments, QVariantMap options,
                         std::function<void(PortalResponse, const QVariantMap& results)> done);
    // A list of bound shortcuts: those in it are held, the others (when complete) are not.
    void applyShortcuts(const QList<PortalShortcutEntry>& shortcuts);
    void setAll(HotKeyStatus status, const QString& reason);
    void notifyChanged();
    QString nextToken();
    QString senderPart() const;
    QString connectionKey() const;

    QDBusConnection m_connection;
    QString m_serviceName;
    QHash<quint32, Shortcut> m_shortcuts;
    Handler m_handler;
    std::function<void()> m_changed;
    QMap<quint64, Entry> m_entries;
    quint64 m_nextRef = 1;
    bool m_startScheduled = false;
    bool m_started = false;
    QString m_sessionHandle;
    QString m_reason;
    QDBusServiceWatcher* m_ownerWatcher = nullptr;
    // Counts the portal's comings and goings: answers to calls made before the last one are
    // dropped.
    quint64 m_generation = 0;
};

} // namespace plimbo

Q_DECLARE_METATYPE(plimbo::PortalShortcutEntry)
