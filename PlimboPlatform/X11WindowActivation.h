#pragma once

#include "WindowActivation.h"

#include <xcb/xcb.h>

namespace plimbo {

// Focus hand-back on X11. The frontmost application is the window the window manager names in
// _NET_ACTIVE_WINDOW (or, without an EWMH window manager, the top-level window holding the
// keyboard focus) and the process in its _NET_WM_PID. Activating asks the window manager
// through a _NET_ACTIVE_WINDOW message; without one it raises the window and gives it the focus
// itself. Without an X11 connection (offscreen, Wayland) it names nothing and activates nothing.
class X11WindowActivation final : public WindowActivation {
public:
    // Uses the connection of the running QGuiApplication.
    X11WindowActivation();
    // For an explicit connection (tests); nullptr behaves as no X11 at all.
    explicit X11WindowActivation(xcb_connection_t* connection);

    std::optional<RunningApplication> frontmostApplication() override;
    bool activate(const RunningApplication& application) override;

private:
    bool usable() const;
    xcb_atom_t atom(const char* name);
    bool windowManagerSupportsActiveWindow();
    xcb_window_t activeWindowProperty();
    xcb_window_t focusedTopLevel();
    quint32 processOf(xcb_window_t window);
    bool isViewable(xcb_window_t window);

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
};

} // namespace plimbo
