#include "X11TestClient.h"
#include "X11WindowActivation.h"

#include <gtest/gtest.h>

#include <QTest>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class X11WindowActivationTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveX11()) {
            GTEST_SKIP() << "needs an X server";
        }
        ASSERT_TRUE(other.usable());
    }
    void TearDown() override {
        if (other.usable()) {
            // Root properties outlive this test's clients: leave no window manager behind.
            for (const char* property :
                 {"_NET_SUPPORTING_WM_CHECK", "_NET_SUPPORTED", "_NET_ACTIVE_WINDOW"}) {
                other.deleteProperty(other.root(), property);
            }
            other.focus(XCB_NONE);
        }
    }

    // Pretends to be an EWMH window manager that supports _NET_ACTIVE_WINDOW and names
    // `active`; returns its check window.
    xcb_window_t actAsWindowManager(X11TestClient& wm, xcb_window_t active) {
        const xcb_window_t check = wm.createWindow(0);
        wm.setCardinals(check, "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW, {check});
        wm.setCardinals(wm.root(), "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW, {check});
        wm.setCardinals(wm.root(), "_NET_SUPPORTED", XCB_ATOM_ATOM,
                        {wm.atom("_NET_WM_NAME"), wm.atom("_NET_ACTIVE_WINDOW")});
        wm.setCardinals(wm.root(), "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW, {active});
        return check;
    }

    X11TestClient other;
    X11WindowActivation activation;
};

} // namespace

TEST_F(X11WindowActivationTest, NamesTheFocusedApplicationWithoutAWindowManager) {
    const xcb_window_t editor = other.createWindow(4242);
    const xcb_window_t field = other.createWindow(0, editor);
    other.focus(field);
    // The focus sits on a subwindow; the application is known by its top-level window.
    EXPECT_EQ(activation.frontmostApplication(), (RunningApplication{4242, editor}));

    const xcb_window_t anonymous = other.createWindow(0);
    other.focus(anonymous);
    EXPECT_EQ(activation.frontmostApplication(), (RunningApplication{0, anonymous}));

    for (xcb_window_t nowhere : {xcb_window_t(XCB_NONE), other.root()}) {
        other.focus(nowhere);
        EXPECT_FALSE(activation.frontmostApplication().has_value());
    }
}

TEST_F(X11WindowActivationTest, GivesTheFocusBackWithoutAWindowManager) {
    const xcb_window_t editor = other.createWindow(4242);
    other.focus(XCB_NONE);
    EXPECT_TRUE(activation.activate(RunningApplication{4242, editor}));
    EXPECT_EQ(other.focused(), editor);

    // Windows that cannot take the focus any more: nothing is claimed.
    other.focus(XCB_NONE);
    other.unmapWindow(editor);
    EXPECT_FALSE(activation.activate(RunningApplication{4242, editor}));
    other.destroyWindow(editor);
    EXPECT_FALSE(activation.activate(RunningApplication{4242, editor}));
    EXPECT_FALSE(activation.activate(RunningApplication{4242, 0}));
    EXPECT_EQ(other.focused(), xcb_window_t(XCB_NONE));
}

TEST_F(X11WindowActivationTest, AsksAWindowManagerThatSupportsIt) {
    X11TestClient wm;
    const xcb_window_t editor = other.createWindow(4242);
    const xcb_window_t browser = other.createWindow(5151);
    actAsWindowManager(wm, editor);
    // The window manager's word counts, not the raw X focus.
    other.focus(browser);
    EXPECT_EQ(activation.frontmostApplication(), (RunningApplication{4242, editor}));
    wm.setCardinals(wm.root(), "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW, {0});
    EXPECT_FALSE(activation.frontmostApplication().has_value());

    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(wm.connection(), wm.root(), XCB_CW_EVENT_MASK, &mask);
    wm.sync();
    ASSERT_TRUE(activation.activate(RunningApplication{4242, editor}));

    xcb_client_message_event_t request{};
    const bool received = QTest::qWaitFor(
        [&] {
            while (xcb_generic_event_t* event = xcb_poll_for_event(wm.connection())) {
                if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                    request = *reinterpret_cast<xcb_client_message_event_t*>(event);
                }
                std::free(event);
            }
            return request.type != 0;
        },
        2000);
    const uint32_t none = XCB_EVENT_MASK_NO_EVENT;
    xcb_change_window_attributes(wm.connection(), wm.root(), XCB_CW_EVENT_MASK, &none);
    ASSERT_TRUE(received);
    EXPECT_EQ(request.type, wm.atom("_NET_ACTIVE_WINDOW"));
    EXPECT_EQ(request.window, editor);
    EXPECT_EQ(request.format, 32);
    // Left to the window manager: the focus was not moved behind its back.
    EXPECT_EQ(other.focused(), browser);
}

TEST_F(X11WindowActivationTest, IgnoresTheLeftoversOfAWindowManagerThatIsGone) {
    const xcb_window_t editor = other.createWindow(4242);
    const xcb_window_t browser = other.createWindow(5151);
    {
        X11TestClient wm;
        actAsWindowManager(wm, editor);
    }
    // Its check window went with it; the root properties stay behind.
    other.focus(browser);
    EXPECT_EQ(activation.frontmostApplication(), (RunningApplication{5151, browser}));
    EXPECT_TRUE(activation.activate(RunningApplication{4242, editor}));
    EXPECT_EQ(other.focused(), editor);
}

TEST(X11WindowActivationOffscreenTest, NamesNothingWithoutAConnection) {
    X11WindowActivation none(nullptr);
    EXPECT_FALSE(none.frontmostApplication().has_value());
    EXPECT_FALSE(none.activate(RunningApplication{4242, 77}));
}
