#pragma once

namespace plimbo {

// How this session lets the application capture the screen.
enum class ScreenCaptureAccess {
    // A capture works now (an X11 session).
    granted,
    // The desktop asks the user at each capture (a Wayland session, through its portal).
    askEachTime,
    // No display to capture.
    unavailable,
};

// Desktop settings pages the permission view can open.
enum class SettingsPage {
    privacy,
    sound,
    notifications,
    autostart,
};

// The desktop's side of permissions: whether the screen can be captured, and its settings pages.
class PermissionBackend {
public:
    virtual ~PermissionBackend() = default;

    // Never prompts.
    virtual ScreenCaptureAccess screenCaptureAccess() = 0;
    // Asks where the desktop has a way to ask ahead of a capture; answers whether capture is
    // granted afterwards.
    virtual bool requestScreenCaptureAccess() = 0;
    // Whether this desktop has the page at all.
    virtual bool hasSettingsPage(SettingsPage page) = 0;
    // Opens the page; false when the desktop has none or it could not be started.
    virtual bool openSettingsPage(SettingsPage page) = 0;
};

} // namespace plimbo
