#include "NotchGeometry.h"
#include "NotchHarness.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace plimbo;
using namespace plimbo::test;

namespace {

DisplayScreen plain(const QRect& frame, const QString& name = QStringLiteral("Plain")) {
    return NotchHarness::display(frame, name);
}

// A display with a camera housing between x = housingLeft and x = housingRight.
DisplayScreen notched(const QRect& frame, int inset, int housingLeft, int housingRight) {
    DisplayScreen screen = plain(frame, QStringLiteral("Notched"));
    screen.safeAreaTopInset = inset;
    screen.auxiliaryTopLeftArea =
        QRect(frame.left(), frame.top(), housingLeft - frame.left(), inset);
    screen.auxiliaryTopRightArea =
        QRect(housingRight, frame.top(), frame.right() + 1 - housingRight, inset);
    return screen;
}

QRect frameFor(const DisplayScreen& screen, bool expanded, bool hovered) {
    return NotchGeometry::frame(
        screen.frame, NotchGeometry::size(NotchGeometry::measure(screen), expanded, hovered));
}

} // namespace

TEST(NotchGeometryTest, ScreenWithoutHousingGetsTheDrawnNotchCentredAtTheTop) {
    const DisplayScreen screen = plain(QRect(1280, 0, 1920, 1080));
    const NotchGeometry::Measurements measured = NotchGeometry::measure(screen);
    EXPECT_FALSE(measured.hasHardwareNotch);
    EXPECT_EQ(measured.topInset, 34);
    EXPECT_EQ(measured.collapsedWidth, 224);
    EXPECT_EQ(frameFor(screen, false, false), QRect(1280 + 960 - 112, 0, 224, 42));
    EXPECT_EQ(frameFor(screen, false, true), QRect(1280 + 960 - 187, 0, 374, 42));
    EXPECT_EQ(frameFor(screen, true, false), QRect(1280 + 960 - 260, 0, 520, 384));
}

TEST(NotchGeometryTest, HousingSetsBandAndCapWithTheirMinimums) {
    // 200 between the strips: 228 wide; band of 37 kept.
    auto wide = NotchGeometry::measure(notched(QRect(0, 0, 1512, 982), 37, 656, 856));
    EXPECT_TRUE(wide.hasHardwareNotch);
    EXPECT_EQ(wide.topInset, 37);
    EXPECT_EQ(wide.collapsedWidth, 228);
    EXPECT_EQ(NotchGeometry::collapsedHeight(true, wide.topInset), 59);

    // A thin band counts as 30; a narrow housing as 160 (188), raised to the 210 minimum.
    auto narrow = NotchGeometry::measure(notched(QRect(0, 0, 1512, 982), 24, 700, 800));
    EXPECT_EQ(narrow.topInset, 30);
    EXPECT_EQ(narrow.collapsedWidth, 210);

    // An inset without both strips, or strips without an inset, is no housing.
    DisplayScreen half = notched(QRect(0, 0, 1512, 982), 37, 656, 856);
    half.auxiliaryTopRightArea.reset();
    EXPECT_FALSE(NotchGeometry::measure(half).hasHardwareNotch);
    EXPECT_EQ(NotchGeometry::measure(half).collapsedWidth, 224);
    DisplayScreen flat = notched(QRect(0, 0, 1512, 982), 37, 656, 856);
    flat.safeAreaTopInset = 0;
    EXPECT_EQ(NotchGeometry::measure(flat).topInset, 34);
}

TEST(NotchGeometryTest, HoverCanvasIsCapPlus150NeverBelow374) {
    EXPECT_EQ(NotchGeometry::compactWidth(224, true), 374);
    EXPECT_EQ(NotchGeometry::compactWidth(250, true), 400);
    EXPECT_EQ(NotchGeometry::compactWidth(250, false), 250);
}

TEST(NotchGeometryTest, PreferredScreenOrder) {
    const DisplayScreen left = plain(QRect(0, 0, 1280, 800));
    const DisplayScreen right = plain(QRect(1280, 0, 1920, 1080));
    const DisplayScreen housing = notched(QRect(1280, 0, 1512, 982), 37, 1900, 2100);

    // A housing wins even with the pointer on another display.
    EXPECT_EQ(NotchGeometry::preferredScreen({left, housing}, QPoint(10, 10), 0), 1);
    // Otherwise the pointer's display, then the main one, then the first.
    EXPECT_EQ(NotchGeometry::preferredScreen({left, right}, QPoint(1500, 10), 0), 1);
    EXPECT_EQ(NotchGeometry::preferredScreen({left, right}, QPoint(-50, -50), 1), 1);
    EXPECT_EQ(NotchGeometry::preferredScreen({left, right}, QPoint(-50, -50), std::nullopt), 0);
    EXPECT_EQ(NotchGeometry::preferredScreen({}, QPoint(0, 0), std::nullopt), std::nullopt);
}

TEST(NotchGeometryTest, ControllerMeasuresTheChosenScreenIntoTheState) {
    NotchHarness n;
    n.screens->displays = {plain(QRect(0, 0, 1280, 800), QStringLiteral("Left")),
                           plain(QRect(1280, 0, 1920, 1080), QStringLiteral("Right"))};
    n.screens->cursor = QPoint(2000, 500);
    QSignalSpy nameChanges(&n.state(), &NotchSurfaceState::screenNameChanged);

    EXPECT_EQ(n.controller->targetFrame(false, std::nullopt), QRect(2128, 0, 224, 42));
    EXPECT_EQ(n.state().screenName(), QStringLiteral("Right"));
    EXPECT_FALSE(n.controller->hasHardwareNotch());
    // The pointer moves: the notch follows at the next computation. Same screen twice: one
    // notification.
    n.screens->cursor = QPoint(100, 100);
    EXPECT_EQ(n.controller->targetFrame(true, std::nullopt), QRect(380, 0, 520, 384));
    n.controller->targetFrame(true, std::nullopt);
    EXPECT_EQ(nameChanges.count(), 2);

    // Without screens nothing is framed and the last measurements stay.
    n.screens->displays.clear();
    EXPECT_EQ(n.controller->targetFrame(false, std::nullopt), std::nullopt);
    EXPECT_EQ(n.state().screenName(), QStringLiteral("Left"));
}
