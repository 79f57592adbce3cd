#include "GlobalHotKeyController.h"
#include "ShellHarness.h"
#include "X11TestClient.h"
#include "X11WindowActivation.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test;

namespace {

// The shell on a real X server: real hot keys, real windows, focus hand-back through X.
class QuickPanelX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveX11()) {
            GTEST_SKIP() << "needs an X server";
        }
        ASSERT_TRUE(other.usable());
        shell.start({}, [](AppModelDependencies& dependencies) {
            dependencies.makeHotKeyController = [] {
                return std::make_unique<GlobalHotKeyController>();
            };
            dependencies.focusCoordinator = std::make_shared<GlobalSurfaceFocusCoordinator>(
                std::make_shared<X11WindowActivation>());
        });
        ASSERT_EQ(shell.model->registeredGlobalShortcuts().size(), 3);
    }
    void TearDown() override {
        if (other.usable()) {
            other.focus(XCB_NONE);
        }
    }

    // Another application's window, holding the keyboard focus.
    xcb_window_t focusedEditor() {
        const xcb_window_t editor = other.createWindow(4242);
        other.focus(editor);
        return editor;
    }

    bool hasFocus(QWidget* panel) const {
        return other.focused() == static_cast<xcb_window_t>(panel->winId()) &&
               QApplication::activeWindow() == panel;
    }

    X11TestClient other;
    ShellHarness shell;
};

} // namespace

TEST_F(QuickPanelX11Test, ShortcutsOpenTheirPanels) {
    ASSERT_TRUE(xdotool({"key", "super+alt+space"}));
    EXPECT_TRUE(settle([&] { return shell.palette()->window()->isVisible(); }));

    ASSERT_TRUE(xdotool({"key", "alt+space"}));
    EXPECT_TRUE(settle([&] { return shell.launcher()->window()->isVisible(); }));
    EXPECT_FALSE(shell.palette()->window()->isVisible());

    ASSERT_TRUE(xdotool({"key", "ctrl+alt+v"}));
    EXPECT_TRUE(settle([&] { return shell.clipboard()->window()->isVisible(); }));
    EXPECT_FALSE(shell.launcher()->window()->isVisible());
}

TEST_F(QuickPanelX11Test, EscapeGivesTheFocusBackToTheWindowThatHadIt) {
    const xcb_window_t editor = focusedEditor();
    ASSERT_TRUE(xdotool({"key", "alt+space"}));
    FloatingPanel* launcher = shell.launcher()->window();
    ASSERT_TRUE(settle([&] { return launcher->isVisible() && hasFocus(launcher); }));
    EXPECT_EQ(shell.model->globalSurfaceFocus().originatingApplication(),
              (RunningApplication{4242, editor}));

    ASSERT_TRUE(xdotool({"key", "Escape"}));
    EXPECT_TRUE(settle([&] { return !launcher->isVisible(); }));
    EXPECT_TRUE(settle([&] { return other.focused() == editor; }));
    EXPECT_FALSE(shell.model->globalSurfaceFocus().originatingApplication().has_value());
}

TEST_F(QuickPanelX11Test, FocusMovingToAnotherApplicationClosesThePanelAndForgets) {
    const xcb_window_t editor = focusedEditor();
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+v"}));
    FloatingPanel* clipboard = shell.clipboard()->window();
    ASSERT_TRUE(settle([&] { return clipboard->isVisible() && hasFocus(clipboard); }));

    // What a click into another application's window does under a window manager.
    const xcb_window_t browser = other.createWindow(5151);
    other.focus(browser);
    EXPECT_TRUE(settle([&] { return !clipboard->isVisible(); }));
    EXPECT_FALSE(shell.clipboard()->monitors().isArmed());
    EXPECT_FALSE(shell.model->globalSurfaceFocus().originatingApplication().has_value());
    spin(100);
    // The other application keeps the focus; the one before the panel gets nothing.
    EXPECT_EQ(other.focused(), browser);
    EXPECT_NE(other.focused(), editor);
}
