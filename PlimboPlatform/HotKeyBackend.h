#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

namespace plimbo {

// System-wide key combinations, reached through the desktop's own facility. A registration
// answers a status (0 = held) and a reference that later releases it; presses arrive through
// the installed handler on the main thread, which answers whether it took the press.
class HotKeyBackend {
public:
    // Modifier bits of a combination. The values match the classic Mac masks so that the
    // shortcut tables read the same on every platform.
    static constexpr quint32 CommandModifier = 0x100; // Super on Linux
    static constexpr quint32 ShiftModifier = 0x200;
    static constexpr quint32 OptionModifier = 0x800; // Alt on Linux
    static constexpr quint32 ControlModifier = 0x1000;

    // Statuses. Errors reported by the display server itself (for example X11's BadAccess,
    // 10, when another client holds the combination) are passed on as their positive code.
    static constexpr qint32 NoError = 0;
    static constexpr qint32 EventNotHandled = -9874;
    static constexpr qint32 HotKeyExists = -9878;
    // No X11 connection (offscreen or Wayland session): global grabs are impossible.
    static constexpr qint32 NoDisplayConnection = -9901;
    // The key has no key code in the current keyboard map, or is not a key we can name.
    static constexpr qint32 UnknownKey = -9902;
    static constexpr qint32 UnsupportedModifiers = -9903;
    // The facility answered success but handed back nothing that holds the key.
    static constexpr qint32 NothingStored = -9904;
    static constexpr qint32 HandlerNotInstalled = -9905;
    // Asked for; the desktop has not answered yet (the portal may be showing its own dialog).
    static constexpr qint32 RegistrationPending = -9906;
    // A Wayland session whose desktop offers no global shortcuts portal (or no session bus).
    static constexpr qint32 NoShortcutsFacility = -9907;
    // The desktop or the user declined the shortcut, or the desktop failed to bind it.
    static constexpr qint32 RefusedByDesktop = -9908;
    // The desktop holds the shortcut but gave it no keys (the user removed them there).
    static constexpr qint32 NoKeys = -9909;

    static constexpr quint32 BadAccess = 10;

    // Returns 0 when it took the press, EventNotHandled otherwise.
    using Handler = std::function<qint32(quint32 id)>;

    struct Registration {
        qint32 status = NoError;
        // 0 means nothing is held.
        quint64 ref = 0;
    };

    // What the desktop holds for a registration now. Facilities that answer at once hold
    // exactly the combination asked for; the portal answers later and may bind another one.
    struct Binding {
        qint32 status = NoError;
        // The desktop's own description of the keys it bound, when it gave one.
        QString trigger;
    };

    virtual ~HotKeyBackend() = default;

    // Installs the one press handler; returns 0 when presses can be delivered.
    virtual qint32 installHandler(Handler handler) = 0;
    virtual void removeHandler() = 0;

    // keyCode is a Qt::Key value; modifiers a combination of the bits above.
    virtual Registration registerHotKey(quint32 id, quint32 keyCode, quint32 modifiers) = 0;
    virtual void unregisterHotKey(quint64 ref) = 0;

    // For a reference handed out by registerHotKey.
    virtual Binding binding(quint64 ref) const {
        Q_UNUSED(ref);
        return {};
    }
    // Why no shortcut can be held at all, in words for the user; empty when that is not so.
    virtual QString unavailableReason() const { return {}; }
    // Called on the main thread whenever binding() or unavailableReason() changed.
    virtual void setBindingsChangedHandler(std::function<void()> handler) { Q_UNUSED(handler); }
};

} // namespace plimbo
