#include "LinuxPermissionBackend.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

using namespace plimbo;

namespace {

// Pretends only the named programs are installed.
LinuxPermissionBackend::ExecutableFinder installed(const QStringList& programs) {
    return [programs](const QString& name) {
        return programs.contains(name) ? "/usr/bin/" + name : QString();
    };
}

} // namespace

TEST(LinuxPermissionBackend, SettingsPagesPerDesktop) {
    const auto gnome = installed({"gnome-control-center"});
    auto command =
        LinuxPermissionBackend::settingsCommand(SettingsPage::notifications, "ubuntu:GNOME", gnome);
    ASSERT_TRUE(command);
    EXPECT_EQ(command->program, "/usr/bin/gnome-control-center");
    EXPECT_EQ(command->arguments, QStringList({"notifications"}));
    EXPECT_EQ(
        LinuxPermissionBackend::settingsCommand(SettingsPage::sound, "GNOME", gnome)->arguments,
        QStringList({"sound"}));
    EXPECT_FALSE(LinuxPermissionBackend::settingsCommand(SettingsPage::autostart, "GNOME", gnome));

    // Plasma 5 only has systemsettings5.
    command = LinuxPermissionBackend::settingsCommand(SettingsPage::autostart, "KDE",
                                                      installed({"systemsettings5"}));
    ASSERT_TRUE(command);
    EXPECT_EQ(command->program, "/usr/bin/systemsettings5");
    EXPECT_EQ(command->arguments, QStringList({"kcm_autostart"}));
    EXPECT_FALSE(LinuxPermissionBackend::settingsCommand(SettingsPage::privacy, "KDE",
                                                         installed({"systemsettings"})));
}

TEST(LinuxPermissionBackend, NoPageWithoutAKnownDesktopOrItsProgram) {
    const auto everything = installed({"gnome-control-center", "systemsettings"});
    EXPECT_FALSE(
        LinuxPermissionBackend::settingsCommand(SettingsPage::notifications, "", everything));
    EXPECT_FALSE(
        LinuxPermissionBackend::settingsCommand(SettingsPage::notifications, "XFCE", everything));
    EXPECT_FALSE(LinuxPermissionBackend::settingsCommand(SettingsPage::notifications, "GNOME",
                                                         installed({})));
}

TEST(LinuxPermissionBackend, NoScreenToCaptureOffscreen) {
    if (QGuiApplication::platformName() != "offscreen" ||
        LinuxPermissionBackend::isWaylandSession()) {
        GTEST_SKIP() << "runs on the offscreen platform only";
    }
    LinuxPermissionBackend backend;
    EXPECT_EQ(backend.screenCaptureAccess(), ScreenCaptureAccess::unavailable);
    EXPECT_FALSE(backend.requestScreenCaptureAccess());
}
