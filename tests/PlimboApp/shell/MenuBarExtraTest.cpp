#include "MenuBarExtra.h"
#include "AppModelHarness.h"
#include "KeepAwakeService.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWidget>

using namespace plimbo;
using namespace plimbo::test;

TEST(MenuBarExtraTest, LabelFollowsKeepAwake) {
    AppModelHarness h;
    auto model = h.makeModel();
    MenuBarExtra extra(*model);
    EXPECT_EQ(extra.trayIcon().toolTip(), QStringLiteral("Plimbo"));
    EXPECT_FALSE(extra.trayIcon().icon().isNull());

    model->keepAwake().toggle();
    ASSERT_TRUE(model->keepAwake().isKeepingAwake());
    EXPECT_EQ(extra.trayIcon().toolTip(), QStringLiteral("Plimbo, keeping this computer awake"));
    model->keepAwake().toggle();
    EXPECT_EQ(extra.trayIcon().toolTip(), QStringLiteral("Plimbo"));
}

TEST(MenuBarExtraTest, IconClickTogglesTheMenuPanelOnScreen) {
    AppModelHarness h;
    auto model = h.makeModel();
    MenuBarExtra extra(*model);
    QWidget* panel = extra.window();
    EXPECT_FALSE(panel->isVisible());

    extra.toggleWindow();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->width(), 372);
    EXPECT_TRUE(panel->windowFlags().testFlag(Qt::Popup));
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(available.contains(panel->geometry())) << panel->geometry().x();

    extra.toggleWindow();
    EXPECT_FALSE(panel->isVisible());
    // The click on the icon that closed the panel does not open it again at once.
    extra.toggleWindow();
    EXPECT_FALSE(panel->isVisible());
    spin(300);
    extra.toggleWindow();
    EXPECT_TRUE(panel->isVisible());
}
