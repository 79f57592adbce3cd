#pragma once

#include "PortalHotKeyBackend.h"

#include <QDBusVirtualObject>
#include <QHash>
#include <QSet>
#include <QStringList>

namespace plimbo::test {

// A stand-in desktop portal with the GlobalShortcuts interface, on its own connection to the
// session bus. It answers every request through a Request's Response signal, as the real one
// does, records what it was asked, and can refuse, bind other keys and press a shortcut.
class FakeShortcutsPortal : public QDBusVirtualObject {
public:
    FakeShortcutsPortal();
    ~FakeShortcutsPortal() override;

    // Takes a service name no other test process uses; false when the bus refused.
    bool publish();
    QString serviceName() const { return m_serviceName; }

    // --- how it behaves
    // Whether the portal has the GlobalShortcuts interface and the host application registry.
    bool offersShortcuts = true;
    bool offersRegistry = true;
    // The Response code of BindShortcuts (0 success, 1 the user declined, 2 failure).
    uint bindResponse = 0;
    // Ids the desktop leaves out of the bound list (the user refused them in its dialog).
    QSet<QString> refusedIds;
    // Triggers the desktop binds instead of the preferred ones, by id; an empty one means the
    // desktop lists the shortcut without keys.
    QHash<QString, QString> boundTriggers;
    // As Plasma 5.27: binds what CreateSession lists and answers with the bound list; its
    // BindShortcuts binds nothing and opens the desktop's shortcut settings instead.
    bool bindsFromCreateSession = false;

    // --- what it saw
    // Method names in the order they came ("Register", "Get", "CreateSession", ...).
    QStringList calls;
    QString registeredApplicationId;
    // The last BindShortcuts: id -> {description, preferred_trigger}.
    QHash<QString, QPair<QString, QString>> requestedShortcuts;
    QString sessionHandle;
    bool sessionClosed = false;
    // Every session_handle_token asked for, in order (Plasma names a component after each).
    QStringList sessionTokens;
    // Whether CreateSession listed shortcuts (a(sa{sv}) under "shortcuts").
    bool createSessionListedShortcuts = false;
    // How often BindShortcuts would have opened the desktop's settings.
    int settingsOpened = 0;

    // --- the desktop acting
    bool activate(const QString& id);
    // The user changes the keys of a shortcut in the desktop's settings.
    bool changeTrigger(const QString& id, const QString& trigger);
    // The desktop ends the session (Session.Closed).
    bool closeSession();
    // The portal process goes away (its name loses its owner); publish() brings it back,
    // knowing nothing of earlier sessions.
    bool quit();

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    QList<PortalShortcutEntry> boundList() const;
    void takeRequested(const QVariant& list);
    // Replies with a request path and sends its Response once the reply is out.
    void answerThroughRequest(const QDBusMessage& message, uint response,
                              const QVariantMap& results);

    QString m_serviceName;
    QString m_connectionName;
};

} // namespace plimbo::test
