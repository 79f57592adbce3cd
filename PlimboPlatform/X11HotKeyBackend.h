#pragma once

#include "HotKeyBackend.h"

#include <QAbstractNativeEventFilter>
#include <QHash>

#include <xcb/xcb.h>

struct _XDisplay;
struct _XCBKeySymbols;

namespace plimbo {

// Passive key grabs on the root window through Qt's own xcb connection. Each combination is
// grabbed four times (with and without Caps Lock and Num Lock) so that the lock keys never
// swallow a shortcut; presses reach us through Qt's native event filter.
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

    qint32 installHandler(Handler handler) override;
    void removeHandler() override;
    Registration registerHotKey(quint32 id, quint32 keyCode, quint32 modifiers) override;
    void unregisterHotKey(quint64 ref) override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // The modifier bit Num Lock sits on in the current map (0 when it has none).
    quint16 numLockMask() const { return m_numLockMask; }

private:
    struct Grab {
        quint32 id = 0;
        xcb_keycode_t keycode = 0;
        quint16 modifiers = 0;
    };

    QList<quint16> lockVariants() const;
    void ungrab(const Grab& grab);
    bool connectionUsable() const;

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    _XCBKeySymbols* m_keySymbols = nullptr;
    quint16 m_numLockMask = 0;
    Handler m_handler;
    bool m_filterInstalled = false;
    QHash<quint64, Grab> m_grabs;
    quint64 m_nextRef = 1;
};

} // namespace plimbo
