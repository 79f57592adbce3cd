#include "GlobalSurfaceFocusCoordinator.h"

#include "FakeWindowActivation.h"

#include <gtest/gtest.h>

using namespace plimbo;

namespace {

constexpr qint64 ownPid = 4242;
const RunningApplication editor{1001, 0x3a00007};
const RunningApplication browser{1002, 0x4200001};
const RunningApplication ownWindow{ownPid, 0x5000003};

using Kind = PaletteAction::Kind;
using Effect = GlobalSurfaceFocusCoordinator::PaletteFocusEffect;

class FocusCoordinatorTest : public testing::Test {
protected:
    std::shared_ptr<FakeWindowActivation> windows = std::make_shared<FakeWindowActivation>();
    GlobalSurfaceFocusCoordinator coordinator{windows, ownPid};

    void front(const std::optional<RunningApplication>& application) {
        windows->frontmost = application;
    }
};

TEST_F(FocusCoordinatorTest, TheFirstOtherApplicationIsHeldUntilUsed) {
    EXPECT_FALSE(coordinator.originatingApplication());
    front(editor);
    coordinator.captureIfNeeded();
    EXPECT_EQ(coordinator.originatingApplication(), editor);

    // Further panels opening, with another application or this one in front, change nothing.
    front(browser);
    coordinator.captureIfNeeded();
    front(ownWindow);
    coordinator.captureIfNeeded();
    EXPECT_EQ(coordinator.originatingApplication(), editor);
    EXPECT_TRUE(windows->activated.isEmpty());
}

TEST_F(FocusCoordinatorTest, ThisApplicationOrNoneInFrontIsNotRemembered) {
    front(ownWindow);
    coordinator.captureIfNeeded();
    EXPECT_FALSE(coordinator.originatingApplication());
    coordinator.restore();
    EXPECT_TRUE(windows->activated.isEmpty()) << "this application must never be re-activated";

    front(std::nullopt);
    coordinator.captureIfNeeded();
    EXPECT_FALSE(coordinator.originatingApplication());

    // Nothing held, so a later opening captures again.
    front(browser);
    coordinator.captureIfNeeded();
    EXPECT_EQ(coordinator.originatingApplication(), browser);
}

TEST_F(FocusCoordinatorTest, RestoreActivatesOnceAndForgetsAndForgetNeverActivates) {
    front(editor);
    coordinator.captureIfNeeded();
    front(ownWindow);
    coordinator.restore();
    EXPECT_EQ(windows->activated, QList<RunningApplication>{editor});
    EXPECT_FALSE(coordinator.originatingApplication());
    coordinator.restore();
    EXPECT_EQ(windows->activated.size(), 1);

    front(browser);
    coordinator.captureIfNeeded();
    coordinator.forget();
    coordinator.forget();
    EXPECT_FALSE(coordinator.originatingApplication());
    coordinator.restore();
    EXPECT_EQ(windows->activated.size(), 1);
}

TEST_F(FocusCoordinatorTest, AFailedActivationStillForgets) {
    windows->activationWorks = false;
    front(editor);
    coordinator.captureIfNeeded();
    coordinator.restore();
    EXPECT_EQ(windows->activated, QList<RunningApplication>{editor});
    EXPECT_FALSE(coordinator.originatingApplication());
}

TEST(GlobalSurfaceFocusCoordinator, PaletteCommandsKeepForgetOrRestore) {
    const std::vector<std::pair<Kind, Effect>> table{
        {Kind::launchApplication, Effect::forget},
        {Kind::copyClipboard, Effect::restore},
        {Kind::openDashboard, Effect::forget},
        {Kind::openLauncher, Effect::keep},
        {Kind::openClipboard, Effect::keep},
        {Kind::openSettings, Effect::forget},
        {Kind::openAI, Effect::forget},
        {Kind::airDrop, Effect::forget},
        {Kind::screenshot, Effect::forget},
        {Kind::toggleKeepAwake, Effect::restore},
    };
    for (const auto& [kind, effect] : table) {
        EXPECT_EQ(GlobalSurfaceFocusCoordinator::paletteFocusEffect(kind), effect)
            << "action " << int(kind);

        auto windows = std::make_shared<FakeWindowActivation>();
        GlobalSurfaceFocusCoordinator coordinator(windows, ownPid);
        windows->frontmost = editor;
        coordinator.captureIfNeeded();
        windows->frontmost = ownWindow;

        coordinator.beforePaletteAction(kind);
        EXPECT_EQ(coordinator.originatingApplication().has_value(), effect != Effect::forget)
            << "action " << int(kind);
        coordinator.afterPaletteAction(kind);
        EXPECT_EQ(coordinator.originatingApplication().has_value(), effect == Effect::keep)
            << "action " << int(kind);
        EXPECT_EQ(windows->activated.size(), effect == Effect::restore ? 1 : 0)
            << "action " << int(kind);
    }
}

TEST_F(FocusCoordinatorTest, LauncherOpenedFromThePaletteHandsBackTheFirstApplication) {
    // Palette opens over the editor; its "Open Launcher" command shows the launcher, whose
    // own capture finds this application in front; dismissing the launcher restores the editor.
    front(editor);
    coordinator.captureIfNeeded();
    front(ownWindow);
    coordinator.beforePaletteAction(Kind::openLauncher);
    coordinator.captureIfNeeded();
    coordinator.afterPaletteAction(Kind::openLauncher);
    coordinator.restore();
    EXPECT_EQ(windows->activated, QList<RunningApplication>{editor});
    EXPECT_EQ(windows->frontmost, editor);
}

} // namespace

TEST_F(FocusCoordinatorTest, AHandBackDuringAnAlertWaitsUntilTheAlertCloses) {
    // A palette command that failed: its alert opens before the palette hands the focus back.
    front(editor);
    coordinator.captureIfNeeded();
    front(ownWindow);
    coordinator.alertOpened();
    coordinator.restore();
    EXPECT_TRUE(windows->activated.isEmpty());
    EXPECT_TRUE(coordinator.isAlertOpen());

    coordinator.alertClosed();
    EXPECT_EQ(windows->activated, QList<RunningApplication>{editor});
    EXPECT_FALSE(coordinator.originatingApplication());
    EXPECT_FALSE(coordinator.isAlertOpen());
}

TEST_F(FocusCoordinatorTest, AnAlertOverAnotherApplicationGivesItTheFocusBackWhenItCloses) {
    // The panel already handed the focus back when the error arrived.
    front(editor);
    coordinator.alertOpened();
    EXPECT_EQ(coordinator.originatingApplication(), editor);
    front(ownWindow);
    coordinator.alertClosed();
    EXPECT_EQ(windows->activated, QList<RunningApplication>{editor});

    // An alert over a surface the user works in (this application in front) hands nothing on.
    front(ownWindow);
    coordinator.alertOpened();
    coordinator.alertClosed();
    EXPECT_EQ(windows->activated.size(), 1);

    // A panel that remembers an application and closes by a click elsewhere, with no hand-back
    // asked for: the alert's closing activates nothing either.
    front(browser);
    coordinator.captureIfNeeded();
    front(ownWindow);
    coordinator.alertOpened();
    coordinator.alertClosed();
    EXPECT_EQ(windows->activated.size(), 1);
}
