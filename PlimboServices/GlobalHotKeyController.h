#pragma once

#include "HotKeyBackend.h"

#include <QHash>
#include <QObject>

#include <QProcessEnvironment>
#include <QString>

#include <functional>
#include <memory>

namespace plimbo {

// System-wide shortcuts that work while another application is in front. Each has a numeric
// identifier and an action; a press runs the action on the event loop, after the press has
// been answered. Releasing the controller releases its keys.
class GlobalHotKeyController : public QObject {
    Q_OBJECT

public:
    using Action = std::function<void()>;

    // How the desktop portal names and describes the shortcuts, by identifier.
    struct PortalShortcut {
        QString id;
        QString description;
    };

    // On the desktop's own facility (see desktopBackend).
    GlobalHotKeyController();
    explicit GlobalHotKeyController(std::unique_ptr<HotKeyBackend> backend);
    ~GlobalHotKeyController() override;

    // X11 key grabs in an X11 session. In a Wayland session grabs on XWayland's root only see
    // keys while one of its windows has the focus, so there it is the desktop portal (on
    // portalService) or nothing.
    static std::unique_ptr<HotKeyBackend> desktopBackend(
        const QHash<quint32, PortalShortcut>& portalShortcuts = {},
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
        const QString& portalService = QStringLiteral("org.freedesktop.portal.Desktop"));
    static bool isWaylandSession(const QProcessEnvironment& environment);

    // The result of installing the press handler; success when presses can arrive.
    HotKeyStatus handlerStatus() const { return m_handlerStatus; }

    // Returns success when the key is held; otherwise the handler's installation status,
    // alreadyTaken for an identifier already used here (its first action stays), or the
    // platform's refusal. Nothing is kept unless success is returned, or pending when the desktop
    // answers later (registrationsChanged).
    HotKeyStatus registerHotKey(quint32 id, QKeyCombination keys, Action action);

    // Whether the desktop holds the key of this identifier now.
    bool isActive(quint32 id) const;
    // What the desktop holds for a registered identifier now (success, pending, noKeys, a
    // refusal); nothingStored for one never registered here.
    HotKeyStatus status(quint32 id) const;
    // The desktop's description of the keys it bound for this identifier, when it bound them
    // and described them; empty otherwise.
    QString boundTrigger(quint32 id) const;
    // Why no shortcut can work at all (no portal in a Wayland session, say); empty otherwise.
    QString unavailableReason() const;

signals:
    // The desktop answered or changed a binding after registerHotKey returned.
    void registrationsChanged();

private:
    bool handlePress(quint32 id);

    std::unique_ptr<HotKeyBackend> m_backend;
    QHash<quint32, quint64> m_hotKeyRefs;
    QHash<quint32, Action> m_actions;
    HotKeyStatus m_handlerStatus = HotKeyStatus::handlerNotInstalled;
};

} // namespace plimbo
