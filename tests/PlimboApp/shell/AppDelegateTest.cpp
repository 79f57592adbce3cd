#include "AppDelegate.h"
#include "AppModelHarness.h"

#include <gtest/gtest.h>

using namespace plimbo;
using namespace plimbo::test;

TEST(AppDelegateTest, PreviewRunNeedsOneOfTheEightSwitchesExactly) {
    const QString program = QStringLiteral("/usr/bin/plimbo");
    EXPECT_FALSE(AppDelegate::isPreviewRun({program}));
    EXPECT_FALSE(AppDelegate::isPreviewRun({program, QStringLiteral("--show-about")}));
    EXPECT_FALSE(AppDelegate::isPreviewRun({program, QStringLiteral("--show-menu-preview=1")}));
    EXPECT_FALSE(AppDelegate::isPreviewRun({program, QStringLiteral("--SHOW-MENU-PREVIEW")}));
    for (const QString& preview : AppDelegate::previewSwitches()) {
        EXPECT_TRUE(AppDelegate::isPreviewRun({program, QStringLiteral("-v"), preview}))
            << preview.toStdString();
    }
    // The program path counts as an argument too.
    EXPECT_TRUE(AppDelegate::isPreviewRun({QStringLiteral("--show-launcher-preview")}));
    EXPECT_EQ(AppDelegate::previewSwitches().size(), 8);
}

namespace {

struct DelegateRun {
    explicit DelegateRun(const QStringList& switches = {}) {
        h.arguments += switches;
        delegate = std::make_unique<AppDelegate>(h.dependencies());
    }

    int dashboardShowings() const {
        return h.surfaces->log->count(QStringLiteral("dashboard.front"));
    }

    AppModelHarness h;
    std::unique_ptr<AppDelegate> delegate;
};

} // namespace

TEST(AppDelegateTest, ASecondLaunchShowsTheDashboardAtItsOverview) {
    DelegateRun run;
    run.delegate->start();
    EXPECT_TRUE(settle([&] { return run.h.surfaces->builds > 0; }));
    const int builds = run.h.surfaces->builds;
    run.delegate->model().setSelectedSection(AppSection::permissions);

    run.delegate->handleSecondLaunch();
    EXPECT_TRUE(settle([&] { return run.dashboardShowings() == 1; }));
    EXPECT_EQ(run.delegate->model().selectedSection(), AppSection::overview);
    // Nothing is built a second time.
    EXPECT_EQ(run.h.surfaces->builds, builds);
    EXPECT_EQ(run.h.hotKeys->registerCalls, 3);
}

TEST(AppDelegateTest, ASecondLaunchBeforeStartStartsTheModelFirst) {
    DelegateRun run;
    run.delegate->handleSecondLaunch();
    EXPECT_TRUE(settle([&] { return run.dashboardShowings() == 1; }));
    run.delegate->start();
    spin();
    EXPECT_EQ(run.h.surfaces->builds, 8);
}

TEST(AppDelegateTest, ASecondLaunchInAPreviewRunShowsNoDashboard) {
    DelegateRun preview({QStringLiteral("--show-settings-preview")});
    preview.delegate->start();
    ASSERT_TRUE(settle([&] { return preview.h.surfaces->builds > 0; }));
    preview.delegate->handleSecondLaunch();
    spin(50);
    EXPECT_EQ(preview.dashboardShowings(), 0);

    // The about switch is no preview switch.
    DelegateRun about({QStringLiteral("--show-about")});
    about.delegate->start();
    ASSERT_TRUE(settle([&] { return about.h.surfaces->builds > 0; }));
    about.delegate->handleSecondLaunch();
    EXPECT_TRUE(settle([&] { return about.dashboardShowings() == 1; }));
}
