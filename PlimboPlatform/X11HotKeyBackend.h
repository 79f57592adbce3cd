#pragma once

#include "HotKeyBackend.h"

#include <QAbstractNativeEventFilter>
#include <QHash>

#include <xcb/xcb.h>

#include <functional>
#include <memory>

struct _XDisplay;
struct _XCBKeySymbols;

namespace plimbo {

// Passive key grabs on the root window through Qt's own xcb connection. Each combination is
// grabbed four times (with and without Caps Lock and Num Lock) so that the lock keys never
// swallow a shortcut; presses reach us through Qt's native event filter. A held key runs its
// shortcut once (key repeats are swallowed), and a new keyboard map or layout re-grabs every
// combination on its new key code.
class X11HotKeyBackend final : public HotKeyBackend, public QAbstractNativeEventFilter {
public:
    // Uses the connection of the running QGuiApplication; none on offscreen or Wayland.
    X11HotKeyBackend();
    // For an explicit connection; nullptr behaves as no X11 at all. display may be null
    // (then the first screen's root is used).
    X11HotKeyBackend(xcb_connection_t* connection, _XDisplay* display);
    ~X11HotKeyBackend() override;

    X11HotKeyBackend(const X11HotKeyBackend&) = delete;
    X11HotKeyBackend& operator=(const X11HotKeyBackend&) = delete;

    HotKeyStatus installHandler(Handler handler) override;
    void removeHandler() override;
    Registration registerHotKey(quint32 id, QKeyCombination keys) override;
    void unregisterHotKey(quint64 ref) override;
    Binding binding(quint64 ref) const override;
    void setBindingsChangedHandler(std::function<void()> handler) override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // The modifier bit Num Lock sits on in the current map (0 when it has none).
    quint16 numLockMask() const { return m_numLockMask; }

private:
    struct Grab {
        quint32 id = 0;
        xcb_keysym_t keysym = 0;
        xcb_keycode_t keycode = 0;
        quint16 modifiers = 0;
        // success while the server holds it; a new key map may leave it without a key code or
        // taken by another client.
        HotKeyStatus status = HotKeyStatus::success;
    };

    QList<quint16> lockVariants() const;
    // success or what the first X error means; on an error no variant stays grabbed.
    HotKeyStatus grabAllVariants(const Grab& grab);
    void ungrab(const Grab& grab);
    bool connectionUsable() const;
    // Whether a press of a grabbed key is the keyboard's repeat of a key still held down.
    bool isRepeat(const xcb_key_press_event_t& press);
    void noteMappingEvent(const xcb_generic_event_t& event);
    void regrabAll();

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    _XCBKeySymbols* m_keySymbols = nullptr;
    quint16 m_numLockMask = 0;
    Handler m_handler;
    bool m_filterInstalled = false;
    QHash<quint64, Grab> m_grabs;
    quint64 m_nextRef = 1;
    std::function<void()> m_bindingsChanged;
    // The first event number of the XKB extension (0 without it): Qt's connection is told of
    // new keyboard maps through XKB events instead of the core MappingNotify.
    quint8 m_xkbFirstEvent = 0;
    bool m_regrabQueued = false;
    // Lets a queued re-grab find out that the backend is gone.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    // Grabbed key codes down at the moment, with the time of their last press (repeats
    // included), and the last release: classic X autorepeat sends a release and a press with the
    // same time stamp, detectable autorepeat (which Qt asks for) presses without releases.
    QHash<xcb_keycode_t, xcb_timestamp_t> m_down;
    xcb_keycode_t m_lastReleasedKey = 0;
    xcb_timestamp_t m_lastReleaseTime = 0;
};

} // namespace plimbo
