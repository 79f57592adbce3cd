#include "NotchCompactSurface.h"
#include "NotchCompactActionButton.h"
#include "NotchHarness.h"
#include "NotchIdentityMark.h"
#include "NotchSurfaceView.h"
#include "PlimboTheme.h"

#include <gtest/gtest.h>

#include <QMouseEvent>

using namespace plimbo;
using namespace plimbo::test;

namespace {

void moveTo(QWidget& widget, const QPointF& at) {
    QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
    QCoreApplication::sendEvent(&widget, &move);
}

} // namespace

TEST(NotchCompactSurfaceTest, MarkSitsHigherAndLargerOnADrawnNotch) {
    EXPECT_EQ(NotchIdentityMark::metrics(false).iconSide, 17);
    EXPECT_EQ(NotchIdentityMark::metrics(false).bottomPadding, 9);
    EXPECT_EQ(NotchIdentityMark::metrics(true).iconSide, 11);
    EXPECT_EQ(NotchIdentityMark::metrics(true).bottomPadding, 4);

    NotchHarness n;
    n.controller->show(false);
    NotchIdentityMark& mark = n.controller->view().compactSurface().identityMark();
    const QRectF icon = mark.iconRect();
    EXPECT_EQ(icon.width(), 17);
    // The icon is the row's tallest item: its bottom is the row's, 9 above the cap's edge.
    EXPECT_NEAR(icon.bottom(), mark.height() - 9, 0.5);
    EXPECT_EQ(mark.iconColor(), QColor(Qt::white));
}

TEST(NotchCompactSurfaceTest, OnlyPointsInsideTheCapCountAsHover) {
    NotchHarness n;
    n.controller->show(false);
    NotchSurfaceView& view = n.controller->view();
    NotchCompactSurface& cap = view.compactSurface();
    EXPECT_EQ(cap.pillRect(), QRectF(0, 0, 224, 42));
    // The rounded-off bottom corner is outside the cap.
    moveTo(cap, QPointF(1, 41));
    EXPECT_FALSE(n.state().isCompactHovered());
    moveTo(cap, QPointF(112, 30));
    EXPECT_TRUE(n.state().isCompactHovered());
    EXPECT_EQ(view.compactSurface().identityMark().iconColor(), PlimboTheme::accent());
    EXPECT_EQ(cap.compactVisibleWidth(), 374);
    ASSERT_TRUE(QTest::qWaitFor([&] { return cap.displayedVisibleWidth() == 374; }, 1000));
    EXPECT_EQ(cap.assistantButton().pos(), QPoint(13, 3));
    EXPECT_EQ(cap.screenshotButton().pos(), QPoint(374 - 13 - 28, 3));

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&cap, &leave);
    EXPECT_FALSE(n.state().isCompactHovered());
    EXPECT_FALSE(view.isCapHovered());
    // The pill narrows inside the canvas that stays wide a moment longer.
    EXPECT_EQ(n.panel().width(), 374);
    EXPECT_TRUE(cap.assistantButton().testAttribute(Qt::WA_TransparentForMouseEvents));
    ASSERT_TRUE(QTest::qWaitFor([&] { return n.panel().width() == 224; }, 1000));
}

TEST(NotchCompactSurfaceTest, KeyboardOpensTheShelfFromTheCap) {
    NotchHarness n;
    n.controller->show(false);
    QTest::keyClick(&n.controller->view().compactSurface(), Qt::Key_Space);
    EXPECT_TRUE(n.state().isTransitioning());
    ASSERT_TRUE(n.settled());
    EXPECT_TRUE(n.state().isExpanded());
}
