#include "PanelPlacement.h"

#include <gtest/gtest.h>

using namespace plimbo;

// Screens here are 1512 x 982 with a 25-high bar at the top, so the available area is
// (0, 25) to (1512, 982) in Qt's y-down coordinates.
TEST(PanelPlacementTest, MiniAISitsAtTheBottomAndGrowsUpwards) {
    const QRect available(0, 25, 1512, 957);
    struct Case {
        bool conversation;
        bool pending;
        int height;
    };
    for (const Case& c : {Case{false, false, 112}, Case{false, true, 198}, Case{true, false, 410},
                          Case{true, true, 496}}) {
        const QRect frame = PanelPlacement::miniAIFrame(available, c.conversation, c.pending);
        EXPECT_EQ(frame.size(), QSize(420, c.height));
        EXPECT_EQ(frame.left(), 546);
        // 18 above the bottom of the available area, whatever the height.
        EXPECT_EQ(frame.top() + frame.height(), 982 - 18);
    }
}

TEST(PanelPlacementTest, QuickPanelsHangBelowTheTopOfTheirScreen) {
    // A second screen to the right of the first.
    const QRect second(1512, 30, 1920, 1050);
    EXPECT_EQ(PanelPlacement::topCentred(second, QSize(640, 520), PanelPlacement::launcherTopGap),
              QPoint(1512 + 640, 30 + 92));
    EXPECT_EQ(PanelPlacement::topCentred(QRect(0, 25, 1512, 957), QSize(720, 520),
                                         PanelPlacement::paletteTopGap),
              QPoint(396, 25 + 96));
    EXPECT_EQ(PanelPlacement::centred(QRect(0, 0, 1280, 800), QSize(820, 630)), QPoint(230, 85));
    // Larger than the screen: the title bar stays on it.
    EXPECT_EQ(PanelPlacement::centred(QRect(0, 24, 800, 576), QSize(1060, 720)), QPoint(0, 24));
}

TEST(PanelPlacementTest, PopupOpensTowardsTheMiddleAndStaysOnScreen) {
    const QRect available(0, 0, 1280, 800);
    const QSize size(372, 400);
    // A tray at the top right: below the pointer, pulled in from the right edge.
    EXPECT_EQ(PanelPlacement::popupFrame(QPoint(1270, 10), size, available),
              QRect(QPoint(1280 - 372, 16), size));
    // A tray at the bottom: above the pointer.
    EXPECT_EQ(PanelPlacement::popupFrame(QPoint(640, 795), size, available),
              QRect(QPoint(640 - 186, 795 - 6 - 400), size));
    // Too tall for the area: the top stays visible.
    EXPECT_EQ(PanelPlacement::popupFrame(QPoint(10, 790), QSize(372, 900), available).topLeft(),
              QPoint(0, 0));
}
