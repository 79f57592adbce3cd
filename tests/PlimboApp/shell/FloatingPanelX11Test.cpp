#include "FloatingPanel.h"
#include "X11TestClient.h"

#include <gtest/gtest.h>

#include <QTest>

using namespace plimbo;
using namespace plimbo::test;

// The palette, launcher and clipboard panels are the desktop's panels, not programs' windows:
// task bars and pagers leave them out, and they belong to no other window. They open on the
// desktop the user is on.
TEST(FloatingPanelX11Test, StaysOffTheTaskBarAndThePagerEveryTimeItIsShown) {
    if (!haveX11()) {
        GTEST_SKIP() << "needs an X server";
    }
    X11TestClient x;
    ASSERT_TRUE(x.usable());
    FloatingPanel panel;
    panel.resize(200, 100);
    for (int shown = 0; shown < 2; ++shown) {
        // A window manager drops _NET_WM_STATE when a window is withdrawn.
        if (panel.windowHandle()) {
            x.deleteProperty(static_cast<xcb_window_t>(panel.winId()), "_NET_WM_STATE");
            x.sync();
        }
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
        const auto window = static_cast<xcb_window_t>(panel.winId());
        x.sync();
        const QList<uint32_t> states = x.values(window, "_NET_WM_STATE");
        EXPECT_TRUE(states.contains(x.atom("_NET_WM_STATE_SKIP_TASKBAR"))) << shown;
        EXPECT_TRUE(states.contains(x.atom("_NET_WM_STATE_SKIP_PAGER"))) << shown;
        EXPECT_TRUE(states.contains(x.atom("_NET_WM_STATE_ABOVE"))) << shown;
        EXPECT_FALSE(x.hasProperty(window, "_NET_WM_DESKTOP"));
        EXPECT_TRUE(x.values(window, "WM_PROTOCOLS").contains(x.atom("WM_TAKE_FOCUS")));
        // Not a transient of the whole program: when it closes, the window manager gives the
        // focus back to the user's window rather than to another of Plimbo's.
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return !x.hasProperty(window, "WM_TRANSIENT_FOR"); }, 2000))
            << shown;
        panel.hide();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !x.isViewable(window); }, 2000));
    }
}
