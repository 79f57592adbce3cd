#pragma once

#include <QKeyCombination>
#include <QString>
#include <QtGlobal>

#include <functional>

namespace plimbo {

// Where a registration, a binding or the press handler's installation stands.
enum class HotKeyStatus {
    success,
    // This process already holds the combination, or the identifier.
    alreadyTaken,
    // Another X client holds the combination (the server answered BadAccess).
    takenByAnotherClient,
    // The display server refused the grab for another reason; its error code goes to the log.
    refusedByDisplayServer,
    // No X11 connection (offscreen or Wayland session): global grabs are impossible.
    noDisplayConnection,
    // The key has no key code in the current keyboard map, or is not a key we can name.
    unknownKey,
    unsupportedModifiers,
    // The facility answered success but handed back nothing that holds the key.
    nothingStored,
    handlerNotInstalled,
    // Asked for; the desktop has not answered yet (the portal may be showing its own dialog).
    pending,
    // A Wayland session whose desktop offers no global shortcuts portal (or no session bus).
    noShortcutsFacility,
    // The desktop or the user declined the shortcut, or the desktop failed to bind it.
    refusedByDesktop,
    // The desktop holds the shortcut but gave it no keys (the user removed them there).
    noKeys,
};

// System-wide key combinations, reached through the desktop's own facility. A registration
// answers a status and a reference that later releases it; presses arrive through the
// installed handler on the main thread, which answers whether it took the press. Keys are Qt's:
// Meta is Super on Linux, Alt is Alt; other modifiers than Meta, Shift, Alt and Control are
// refused.
class HotKeyBackend {
public:
    // Returns whether it took the press.
    using Handler = std::function<bool(quint32 id)>;

    struct Registration {
        HotKeyStatus status = HotKeyStatus::success;
        // 0 means nothing is held.
        quint64 ref = 0;
    };

    // What the desktop holds for a registration now. Facilities that answer at once hold
    // exactly the combination asked for; the portal answers later and may bind another one.
    struct Binding {
        HotKeyStatus status = HotKeyStatus::success;
        // The desktop's own description of the keys it bound, when it gave one.
        QString trigger;
    };

    // The modifiers a facility can hold.
    static constexpr Qt::KeyboardModifiers supportedModifiers =
        Qt::MetaModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier;

    virtual ~HotKeyBackend() = default;

    // Installs the one press handler; success when presses can be delivered.
    virtual HotKeyStatus installHandler(Handler handler) = 0;
    virtual void removeHandler() = 0;

    virtual Registration registerHotKey(quint32 id, QKeyCombination keys) = 0;
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
