#include "PlimboApplication.h"

#include <gtest/gtest.h>

using namespace plimbo;

namespace {

QProcessEnvironment environment(std::initializer_list<std::pair<const char*, const char*>> values) {
    QProcessEnvironment result;
    for (const auto& [name, value] : values) {
        result.insert(QString::fromLatin1(name), QString::fromLatin1(value));
    }
    return result;
}

} // namespace

TEST(PlimboApplicationPlatformTest, WaylandSessionsKeepTheWindowsOnXWaylandUnlessTheUserChose) {
    // GNOME and Plasma on Wayland, told either way.
    EXPECT_EQ(PlimboApplication::platformFor(
                  environment({{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":0"}})),
              QByteArray("xcb"));
    EXPECT_EQ(PlimboApplication::platformFor(
                  environment({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":1"}})),
              QByteArray("xcb"));
    // The user's own choice stays.
    EXPECT_TRUE(PlimboApplication::platformFor(environment({{"WAYLAND_DISPLAY", "wayland-0"},
                                                            {"DISPLAY", ":0"},
                                                            {"QT_QPA_PLATFORM", "wayland"}}))
                    .isEmpty());
    // Without XWayland there is no X server to go to.
    EXPECT_TRUE(
        PlimboApplication::platformFor(environment({{"WAYLAND_DISPLAY", "wayland-0"}})).isEmpty());
    // X11 sessions: Qt's own choice.
    EXPECT_TRUE(PlimboApplication::platformFor(
                    environment({{"XDG_SESSION_TYPE", "x11"}, {"DISPLAY", ":0"}}))
                    .isEmpty());
}

// Programs Plimbo starts inherit its environment: the platform it picks for itself goes to Qt as
// a switch, so the environment stays the user's and nothing is forced onto XWayland.
TEST(PlimboApplicationPlatformTest, ThePlatformGoesToQtAsASwitchAndTheEnvironmentStaysTheUsers) {
    const QList<QByteArray> arguments{"plimbo", "--show-menu-preview"};
    EXPECT_EQ(PlimboApplication::qtArguments(
                  arguments, environment({{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":0"}})),
              (QList<QByteArray>{"plimbo", "-platform", "xcb", "--show-menu-preview"}));
    EXPECT_EQ(PlimboApplication::qtArguments(
                  arguments, environment({{"XDG_SESSION_TYPE", "x11"}, {"DISPLAY", ":0"}})),
              arguments);
    EXPECT_EQ(PlimboApplication::qtArguments(
                  {}, environment({{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":0"}})),
              (QList<QByteArray>{"-platform", "xcb"}));
}
