#include "AppModel.h"
#include "AppModelHarness.h"
#include "NotchSurfaceState.h"
#include "NotchSurfaceView.h"
#include "NotchWindowController.h"
#include "PlimboNotchPanel.h"
#include "ShellViews.h"
#include "X11TestClient.h"

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QScreen>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test;

namespace {

// A notch on the real X server, for a model built from the harness's fakes.
class NotchWindowControllerX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveX11()) {
            GTEST_SKIP() << "needs an X server";
        }
        x = std::make_unique<X11TestClient>();
        ASSERT_TRUE(x->usable());
        model = h.makeModel();
        notch = std::make_unique<NotchWindowController>(ShellViews::notchFeatures(*model));
    }

    AppModelHarness h;
    std::unique_ptr<X11TestClient> x;
    std::unique_ptr<AppModel> model;
    std::unique_ptr<NotchWindowController> notch;
};

} // namespace

// On a real X server the panel hangs from the top edge of the primary screen, centred, as an
// always-on-top utility window.
TEST_F(NotchWindowControllerX11Test, PanelSitsAtTheTopCentreOfTheScreen) {
    notch->updatePresentation(true, true);
    PlimboNotchPanel& panel = notch->panel();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect expected(screen.center().x() + 1 - 112, screen.top(), 224, 42);
    const auto window = static_cast<xcb_window_t>(panel.winId());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> at(
                xcb_translate_coordinates_reply(
                    x->connection(),
                    xcb_translate_coordinates(x->connection(), window, x->root(), 0, 0), nullptr),
                &std::free);
            return at && QRect(at->dst_x, at->dst_y, x->size(window).width(),
                               x->size(window).height()) == expected;
        },
        2000));
    EXPECT_TRUE(x->isViewable(window));
    EXPECT_EQ(x->cardinal(window, "_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM),
              x->atom("_NET_WM_WINDOW_TYPE_UTILITY"));

    notch->show(true);
    const QRect expanded(screen.center().x() + 1 - 260, screen.top(), 520, 384);
    EXPECT_TRUE(QTest::qWaitFor([&] { return x->size(window) == expanded.size(); }, 2000));
    EXPECT_EQ(panel.geometry(), expanded);
    notch->hide();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !x->isViewable(window); }, 2000));
}

// The notch is part of the desktop, not a program's window: task bars and pagers leave it out,
// it stays when the user switches desktops, and compact it takes no focus, so when a panel above
// it goes the window manager gives the focus back to the user's window instead of to the notch->
TEST_F(NotchWindowControllerX11Test, BehavesLikeAPanelAndTakesTheFocusOnlyExpanded) {
    notch->updatePresentation(true, true);
    PlimboNotchPanel& panel = notch->panel();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    const auto window = static_cast<xcb_window_t>(panel.winId());
    x->sync();

    const QList<uint32_t> states = x->values(window, "_NET_WM_STATE");
    EXPECT_TRUE(states.contains(x->atom("_NET_WM_STATE_SKIP_TASKBAR")));
    EXPECT_TRUE(states.contains(x->atom("_NET_WM_STATE_SKIP_PAGER")));
    // Qt's own state stays beside ours.
    EXPECT_TRUE(states.contains(x->atom("_NET_WM_STATE_ABOVE")));
    EXPECT_EQ(x->cardinal(window, "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL), 0xFFFFFFFFu);

    // WM_HINTS: flags, then input; InputHint is the flags' lowest bit.
    const auto takesInput = [&] {
        const QList<uint32_t> hints = x->values(window, "WM_HINTS");
        return hints.size() >= 2 && (hints.at(0) & 1u) && hints.at(1) != 0;
    };
    const auto offersTakeFocus = [&] {
        return x->values(window, "WM_PROTOCOLS").contains(x->atom("WM_TAKE_FOCUS"));
    };
    EXPECT_FALSE(takesInput());
    EXPECT_FALSE(offersTakeFocus());

    notch->expand();
    EXPECT_TRUE(QTest::qWaitFor([&] { return takesInput() && offersTakeFocus(); }, 2000));
    // A collapse asked for while the shelf still grows is ignored.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notch->state().isTransitioning(); }, 5000));
    notch->collapse();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !takesInput() && !offersTakeFocus(); }, 5000));
    notch->hide();
}

// Without a window manager the stacking order is the order of the raises: the notch putting
// itself in front again (each time the application becomes active, and 90 ms later) must
// leave its own alert above it, or the modal alert sits hidden under the shelf it blocks.
TEST_F(NotchWindowControllerX11Test, ItsAlertStaysAboveTheNotchWhenTheNotchComesToTheFront) {
    notch->show(true);
    PlimboNotchPanel& panel = notch->panel();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));

    model->setPresentedError(QStringLiteral("No camera is available."));
    ASSERT_TRUE(QTest::qWaitFor([&] { return notch->view().alert() != nullptr; }, 2000));
    QMessageBox* alert = notch->view().alert();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(alert));
    const auto panelWindow = static_cast<xcb_window_t>(panel.winId());
    const auto alertWindow = static_cast<xcb_window_t>(alert->winId());
    const auto alertIsAbove = [&] {
        x->sync();
        const QList<xcb_window_t> stack = x->children(x->root());
        return stack.indexOf(alertWindow) > stack.indexOf(panelWindow) &&
               stack.indexOf(panelWindow) >= 0;
    };
    ASSERT_TRUE(QTest::qWaitFor(alertIsAbove, 2000));

    notch->raise();
    QTest::qWait(NotchWindowController::reassertDelay + 100);
    EXPECT_TRUE(alertIsAbove());

    model->setPresentedError(std::nullopt);
    EXPECT_TRUE(QTest::qWaitFor([&] { return notch->view().alert() == nullptr; }, 2000));
    notch->hide();
}
