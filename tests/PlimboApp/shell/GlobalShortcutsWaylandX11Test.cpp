#include "AppModelHarness.h"
#include "FakeShortcutsPortal.h"
#include "GlobalHotKeyController.h"
#include "PlimboGlobalShortcut.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QGuiApplication>
#include <QTest>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <X11/keysym.h>

#include <cstdlib>
#include <memory>

using namespace plimbo;

namespace {

// Whether another X client could grab the combination on the root window, that is whether
// nobody (this process included) holds it.
bool combinationIsFree(xcb_keysym_t keysym, quint16 modifiers) {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return false;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
    bool free = false;
    if (codes && codes[0] != XCB_NO_SYMBOL) {
        xcb_generic_error_t* error = xcb_request_check(
            connection, xcb_grab_key_checked(connection, 1, root, modifiers, codes[0],
                                             XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        free = error == nullptr;
        std::free(error);
    }
    std::free(codes);
    xcb_key_symbols_free(symbols);
    xcb_disconnect(connection);
    return free;
}

} // namespace

// A Wayland session on an X server (XWayland, here Xvfb): the shortcuts go to the desktop
// portal, no key is grabbed on the X server, and the portal's Activated opens the palette.
TEST(GlobalShortcutsWaylandX11Test, AWaylandSessionUsesThePortalAndGrabsNothing) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") ||
        QGuiApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "needs an X server (DISPLAY)";
    }
    if (!QDBusConnection::sessionBus().isConnected()) {
        GTEST_SKIP() << "needs a D-Bus session bus (run through tools/test-session.sh)";
    }
    test::FakeShortcutsPortal portal;
    ASSERT_TRUE(portal.publish());
    QProcessEnvironment wayland;
    wayland.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    wayland.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-0"));
    wayland.insert(QStringLiteral("DISPLAY"), qEnvironmentVariable("DISPLAY"));

    test::AppModelHarness h;
    AppModelDependencies dependencies = h.dependencies();
    dependencies.makeHotKeyController = [&] {
        QHash<quint32, GlobalHotKeyController::PortalShortcut> names;
        for (PlimboGlobalShortcut shortcut : allGlobalShortcuts()) {
            names.insert(rawValue(shortcut),
                         {portalNameFor(shortcut).id, portalNameFor(shortcut).description});
        }
        return std::make_unique<GlobalHotKeyController>(
            GlobalHotKeyController::desktopBackend(names, wayland, portal.serviceName()));
    };
    AppModel model(dependencies);
    QFuture<void> started = model.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return started.isFinished(); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return portal.requestedShortcuts.size() == 3; }, 5000));
    EXPECT_EQ(portal.requestedShortcuts.value(QStringLiteral("command-palette")).second,
              QStringLiteral("LOGO+ALT+space"));

    // Nothing holds the three combinations on the X server.
    EXPECT_TRUE(combinationIsFree(XK_space, XCB_MOD_MASK_4 | XCB_MOD_MASK_1));
    EXPECT_TRUE(combinationIsFree(XK_space, XCB_MOD_MASK_1));
    EXPECT_TRUE(combinationIsFree(XK_v, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1));

    ASSERT_NE(h.surfaces->palette, nullptr);
    EXPECT_FALSE(h.surfaces->palette->visible);
    ASSERT_TRUE(portal.activate(QStringLiteral("command-palette")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return h.surfaces->palette->visible; }, 5000));
}
