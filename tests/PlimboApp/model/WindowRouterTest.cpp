#include "WindowRouter.h"
#include "AppModelHarness.h"
#include "GlobalSurfaceFocusCoordinator.h"

#include <gtest/gtest.h>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class WindowRouterTest : public ::testing::Test {
protected:
    void SetUp() override {
        windows.createControllers();
        log.clear();
    }

    AppModelHarness h;
    QStringList& log = *h.surfaces->log;
    GlobalSurfaceFocusCoordinator focus{h.windows, /*ownProcessIdentifier=*/1};
    WindowRouter windows{h.surfaces->makers(), focus};
};

TEST_F(WindowRouterTest, EveryControllerButTheMenuPreviewIsBuiltAtOnce) {
    EXPECT_EQ(h.surfaces->builds, 8);
    EXPECT_NE(windows.dashboard(), nullptr);
    EXPECT_NE(windows.notch(), nullptr);
    EXPECT_EQ(windows.menuPreview(), nullptr);
}

TEST_F(WindowRouterTest, TheQuickPanelsExcludeEachOther) {
    windows.showQuickPanel(windows.palette());
    EXPECT_EQ(log, (QStringList{"launcher.stopMonitoring", "launcher.hide",
                                "clipboard.stopMonitoring", "clipboard.hide", "palette.show"}));
    log.clear();
    windows.showQuickPanel(windows.launcher());
    EXPECT_EQ(log, (QStringList{"palette.stopMonitoring", "palette.hide",
                                "clipboard.stopMonitoring", "clipboard.hide", "launcher.show"}));
    log.clear();
    windows.showQuickPanel(windows.clipboard());
    EXPECT_EQ(log, (QStringList{"palette.stopMonitoring", "palette.hide", "launcher.stopMonitoring",
                                "launcher.hide", "clipboard.show"}));
}

TEST_F(WindowRouterTest, TheDashboardAndTheSettingsOpenOnTheirSection) {
    windows.showDashboard(AppSection::permissions);
    EXPECT_EQ(windows.selectedSection(), AppSection::permissions);
    windows.openSettings(SettingsSection::privacy);
    EXPECT_EQ(windows.selectedSettingsSection(), SettingsSection::privacy);
    EXPECT_EQ(log.filter(".front"), (QStringList{"dashboard.front", "settings.front"}));
}

} // namespace
