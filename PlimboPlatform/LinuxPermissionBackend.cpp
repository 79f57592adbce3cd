#include "LinuxPermissionBackend.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QStringList>

namespace plimbo {

namespace {

std::optional<LaunchCommand> firstInstalled(const QStringList& programs, const QString& argument,
                                            const LinuxPermissionBackend::ExecutableFinder& find) {
    for (const QString& program : programs) {
        const QString path = find(program);
        if (!path.isEmpty()) {
            return LaunchCommand{path, {argument}, {}};
        }
    }
    return std::nullopt;
}

} // namespace

bool LinuxPermissionBackend::isWaylandSession() {
    if (QGuiApplication::platformName().startsWith(QStringLiteral("wayland"))) {
        return true;
    }
    return qEnvironmentVariable("XDG_SESSION_TYPE") == u"wayland" ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

ScreenCaptureAccess LinuxPermissionBackend::screenCaptureAccess() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return ScreenCaptureAccess::unavailable;
    }
    if (isWaylandSession()) {
        return ScreenCaptureAccess::askEachTime;
    }
    if (QGuiApplication::platformName() != u"xcb") {
        return ScreenCaptureAccess::unavailable;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    // One pixel of the root window: enough to show the server lets us read the screen.
    if (screen && !screen->grabWindow(0, 0, 0, 1, 1).isNull()) {
        return ScreenCaptureAccess::granted;
    }
    return ScreenCaptureAccess::unavailable;
}

bool LinuxPermissionBackend::requestScreenCaptureAccess() {
    // Neither X11 nor the portal has a grant ahead of the capture itself.
    return screenCaptureAccess() == ScreenCaptureAccess::granted;
}

bool LinuxPermissionBackend::hasSettingsPage(SettingsPage page) {
    return settingsCommand(page, qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
                           [](const QString& name) { return QStandardPaths::findExecutable(name); })
        .has_value();
}

bool LinuxPermissionBackend::openSettingsPage(SettingsPage page) {
    const auto command =
        settingsCommand(page, qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
                        [](const QString& name) { return QStandardPaths::findExecutable(name); });
    return command && QProcess::startDetached(command->program, command->arguments);
}

std::optional<LaunchCommand>
LinuxPermissionBackend::settingsCommand(SettingsPage page, const QString& currentDesktop,
                                        const ExecutableFinder& findExecutable) {
    const QStringList desktops = currentDesktop.split(u':', Qt::SkipEmptyParts);
    for (const QString& desktop : desktops) {
        if (desktop.compare(u"GNOME", Qt::CaseInsensitive) == 0) {
            QString panel;
            switch (page) {
            case SettingsPage::privacy:
                panel = QStringLiteral("privacy");
                break;
            case SettingsPage::sound:
                panel = QStringLiteral("sound");
                break;
            case SettingsPage::notifications:
                panel = QStringLiteral("notifications");
                break;
            case SettingsPage::autostart:
                return std::nullopt; // the control centre has no start-up list
            }
            return firstInstalled({QStringLiteral("gnome-control-center")}, panel, findExecutable);
        }
        if (desktop.compare(u"KDE", Qt::CaseInsensitive) == 0) {
            QString module;
            switch (page) {
            case SettingsPage::privacy:
                return std::nullopt;
            case SettingsPage::sound:
                module = QStringLiteral("kcm_pulseaudio");
                break;
            case SettingsPage::notifications:
                module = QStringLiteral("kcm_notifications");
                break;
            case SettingsPage::autostart:
                module = QStringLiteral("kcm_autostart");
                break;
            }
            // Plasma 6 names it systemsettings, Plasma 5 systemsettings5.
            return firstInstalled(
                {QStringLiteral("systemsettings"), QStringLiteral("systemsettings5")}, module,
                findExecutable);
        }
    }
    return std::nullopt;
}

} // namespace plimbo
