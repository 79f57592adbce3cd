#pragma once

#include "LaunchCommand.h"
#include "PermissionBackend.h"

#include <QString>

#include <functional>
#include <optional>

namespace plimbo {

// Linux has no per-application screen-capture permission: X11 lets every client read the
// screen, Wayland asks through the desktop portal at each capture. Settings pages are the
// GNOME control centre's panels or KDE's system settings modules, started directly.
class LinuxPermissionBackend : public PermissionBackend {
public:
    using ExecutableFinder = std::function<QString(const QString& name)>;

    ScreenCaptureAccess screenCaptureAccess() override;
    bool requestScreenCaptureAccess() override;
    bool hasSettingsPage(SettingsPage page) override;
    bool openSettingsPage(SettingsPage page) override;

    // The command that opens the page on the desktop named by currentDesktop (the
    // $XDG_CURRENT_DESKTOP list); none when that desktop has no such page or its settings
    // program is not installed.
    static std::optional<LaunchCommand> settingsCommand(SettingsPage page,
                                                        const QString& currentDesktop,
                                                        const ExecutableFinder& findExecutable);
    // Wayland session: Qt runs on Wayland, or the session says so (XWayland included, whose
    // root window shows none of the native windows).
    static bool isWaylandSession();
};

} // namespace plimbo
