#pragma once

class QWindow;

namespace plimbo {

// Tells an X11 window manager that a window is one of the desktop's panels rather than a
// program's window: the task bar and the pager leave it out, and it may be on every desktop.
// Each call acts on the window's X properties; without X11 (offscreen, native Wayland) it does
// nothing.
class X11PanelHints {
public:
    X11PanelHints() = delete;

    // Call while the window is not mapped (from its show event): window managers read these
    // when they take a window on and drop _NET_WM_STATE when it is withdrawn. Qt keeps the
    // states it finds there when it maps the window.
    static void markAsPanel(QWindow& window, bool onAllDesktops);
    // Call once the window is mapped. Makes it a window of its own rather than a transient of
    // the program, asks the window manager to put it on every desktop (some set the desktop
    // they take a window on in place of the one asked for), and to drop the attention it
    // demands for a window shown without being activated: a panel that appears on its own is
    // not asking for the user.
    static void settleMapped(QWindow& window, bool onAllDesktops);
    // A window that takes no focus is never given it by the window manager, so when a window
    // above it goes, the focus returns to the user's window instead. Qt's own flag clears only
    // the input hint; window managers also give the focus to a window that offers
    // WM_TAKE_FOCUS, so that goes too.
    static void setTakesFocus(QWindow& window, bool takesFocus);
};

} // namespace plimbo
