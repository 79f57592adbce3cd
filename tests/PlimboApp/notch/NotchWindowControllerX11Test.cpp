#include "AppModelHarness.h"
#include "NotchWindowController.h"
#include "PlimboNotchPanel.h"
#include "X11TestClient.h"

#include <gtest/gtest.h>

#include <QScreen>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test;

// On a real X server the panel hangs from the top edge of the primary screen, centred, as an
// always-on-top utility window.
TEST(NotchWindowControllerX11Test, PanelSitsAtTheTopCentreOfTheScreen) {
    if (!haveX11()) {
        GTEST_SKIP() << "needs an X server";
    }
    X11TestClient x;
    ASSERT_TRUE(x.usable());
    AppModelHarness h;
    std::unique_ptr<AppModel> model = h.makeModel();
    NotchWindowController notch(*model);
    notch.updatePresentation(true, true);
    PlimboNotchPanel& panel = notch.panel();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect expected(screen.center().x() + 1 - 112, screen.top(), 224, 42);
    const auto window = static_cast<xcb_window_t>(panel.winId());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> at(
                xcb_translate_coordinates_reply(
                    x.connection(),
                    xcb_translate_coordinates(x.connection(), window, x.root(), 0, 0), nullptr),
                &std::free);
            return at && QRect(at->dst_x, at->dst_y, x.size(window).width(),
                               x.size(window).height()) == expected;
        },
        2000));
    EXPECT_TRUE(x.isViewable(window));
    EXPECT_EQ(x.cardinal(window, "_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM),
              x.atom("_NET_WM_WINDOW_TYPE_UTILITY"));

    notch.show(true);
    const QRect expanded(screen.center().x() + 1 - 260, screen.top(), 520, 384);
    EXPECT_TRUE(QTest::qWaitFor([&] { return x.size(window) == expanded.size(); }, 2000));
    EXPECT_EQ(panel.geometry(), expanded);
    notch.hide();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !x.isViewable(window); }, 2000));
}
