#include "NotchSurface.h"
#include "AppModelHarness.h"
#include "GlobalSurfaceFocusCoordinator.h"
#include "WindowRouter.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace plimbo;
using namespace plimbo::test;

namespace {

// A notch surface over a window router whose panels are fakes.
struct Notch {
    explicit Notch(AppModelHarness& h)
        : focus(h.windows, /*ownProcessIdentifier=*/1)
        , windows(h.surfaces->makers(), focus)
        , surface(*h.settings, windows) {}

    GlobalSurfaceFocusCoordinator focus;
    WindowRouter windows;
    NotchSurface surface;
};

TEST(NotchSurfaceTest, TheSwitchesAreStoredAndMoveThePanel) {
    AppModelHarness h;
    Notch n(h);
    // Before start-up only the field and the stored switch change.
    QSignalSpy changes(&n.surface, &NotchSurface::surfaceEnabledChanged);
    n.surface.setSurfaceEnabled(false);
    EXPECT_FALSE(n.surface.surfaceEnabled());
    EXPECT_EQ(h.settings->boolValue("plimbo.notch.enabled"), false);
    h.settings->remove("plimbo.notch.enabled");
    n.surface.setSurfaceEnabled(false);
    EXPECT_EQ(h.settings->boolValue("plimbo.notch.enabled"), false); // written again
    EXPECT_EQ(changes.count(), 1);

    n.windows.createControllers();
    FakeNotch& notch = *h.surfaces->notch;
    EXPECT_FALSE(notch.presented);
    n.surface.setSurfaceEnabled(true);
    EXPECT_TRUE(notch.presented);
    n.surface.setVirtualNotchEnabled(false);
    EXPECT_FALSE(notch.presented);
    EXPECT_EQ(h.settings->boolValue("plimbo.notch.virtualEnabled"), false);
    notch.hardwareNotch = true;
    n.surface.setVirtualNotchEnabled(false);
    EXPECT_TRUE(notch.presented);
}

TEST(NotchSurfaceTest, ThePanelFollowsTheTwoStoredSwitches) {
    struct Case {
        bool surface;
        bool drawn;
        bool hardware;
        bool presented;
    };
    for (const Case& c : {Case{true, true, false, true}, Case{true, false, false, false},
                          Case{true, false, true, true}, Case{false, true, true, false}}) {
        AppModelHarness h;
        h.settings->setValue("plimbo.notch.enabled", c.surface);
        h.settings->setValue("plimbo.notch.virtualEnabled", c.drawn);
        h.surfaces->notchHasHardware = c.hardware;
        Notch n(h);
        n.windows.createControllers();
        n.surface.presentOrHide();
        EXPECT_EQ(h.surfaces->notch->presented, c.presented) << c.surface << c.drawn << c.hardware;
        // The decision is taken on a fresh measurement.
        EXPECT_EQ(h.surfaces->log->filter("notch.").first(), "notch.refreshGeometry");
    }
}

} // namespace
