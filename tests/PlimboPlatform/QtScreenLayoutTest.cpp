#include "QtScreenLayout.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

using namespace plimbo;

TEST(QtScreenLayoutTest, ReportsQtScreensWithoutCameraHousings) {
    QtScreenLayout layout;
    const QList<DisplayScreen> screens = layout.screens();
    ASSERT_EQ(screens.size(), QGuiApplication::screens().size());
    ASSERT_FALSE(screens.isEmpty());
    for (qsizetype i = 0; i < screens.size(); ++i) {
        EXPECT_EQ(screens[i].frame, QGuiApplication::screens().at(i)->geometry());
        EXPECT_EQ(screens[i].safeAreaTopInset, 0);
        EXPECT_FALSE(screens[i].auxiliaryTopLeftArea.has_value());
        EXPECT_FALSE(screens[i].auxiliaryTopRightArea.has_value());
        EXPECT_FALSE(screens[i].localizedName.isEmpty());
    }
    ASSERT_TRUE(layout.mainScreenIndex().has_value());
    EXPECT_EQ(QGuiApplication::screens().at(*layout.mainScreenIndex()),
              QGuiApplication::primaryScreen());
}
