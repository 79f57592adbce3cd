#include "ThinkingDots.h"
#include "ChatThinkingIndicator.h"
#include "ChatViewTestSupport.h"
#include "MiniAIBubbleShape.h"

#include <gtest/gtest.h>

#include <QTest>

using namespace plimbo;
using namespace plimbo::test::chat;

namespace {

TEST(ThinkingDots, PulseOneAfterAnotherFromRest) {
    MotionScope motion(false);
    ThinkingDots dots;
    EXPECT_FALSE(dots.isActive());
    EXPECT_EQ(dots.height(), 16);
    EXPECT_EQ(dots.sizeHint(), QSize(3 * 5 + 2 * 4, 16));
    EXPECT_DOUBLE_EQ(dots.dotOpacity(0), 0.35);
    EXPECT_DOUBLE_EQ(dots.dotScale(0), 0.65);
    dots.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dots));
    EXPECT_TRUE(dots.isActive());
    EXPECT_TRUE(dots.isAnimating());
    QTest::qWait(150);
    // The first dot is on its way up; the third starts only after 0.24 s.
    EXPECT_GT(dots.dotScale(0), 0.66);
    EXPECT_DOUBLE_EQ(dots.dotScale(2), 0.65);
    EXPECT_DOUBLE_EQ(dots.dotOpacity(2), 0.35);
    dots.hide();
    EXPECT_FALSE(dots.isAnimating());
    // Once active, always active.
    EXPECT_TRUE(dots.isActive());
}

TEST(ThinkingDots, ReduceMotionHoldsThemStill) {
    MotionScope motion(true);
    ThinkingDots dots;
    ChatThinkingIndicator indicator;
    dots.show();
    indicator.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dots));
    EXPECT_FALSE(dots.isAnimating());
    EXPECT_FALSE(indicator.isAnimating());
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(dots.dotOpacity(i), 0.72);
        EXPECT_DOUBLE_EQ(dots.dotScale(i), 1.0);
        EXPECT_DOUBLE_EQ(indicator.dotOpacity(i), 0.72);
    }
    // Turning it off while shown starts the pulse.
    ReduceMotion::instance().setEnabled(false);
    EXPECT_TRUE(dots.isAnimating());
    EXPECT_EQ(dots.accessibleName(), "Thinking");
}

TEST(ThinkingDots, TheWorkbenchIndicatorIsLarger) {
    MotionScope motion(false);
    ChatThinkingIndicator indicator;
    EXPECT_EQ(indicator.height(), 22);
    EXPECT_EQ(indicator.sizeHint(), QSize(3 * 6 + 2 * 5, 22));
    EXPECT_DOUBLE_EQ(indicator.dotOpacity(1), 0.32);
}

TEST(MiniAIBubbleShape, HalfAPixelInsideWithRoundedCorners) {
    EXPECT_EQ(MiniAIBubbleShape::outlineRect(QRectF(0, 0, 420, 112)), QRectF(0.5, 0.5, 419, 111));
    const QPainterPath path = MiniAIBubbleShape::path(QRectF(0, 0, 420, 112));
    EXPECT_EQ(path.boundingRect(), QRectF(0.5, 0.5, 419, 111));
    EXPECT_TRUE(path.contains(QPointF(210, 1)));
    // The corner is cut by the 22 radius.
    EXPECT_FALSE(path.contains(QPointF(2, 2)));
    EXPECT_TRUE(path.contains(QPointF(22, 22)));
}

} // namespace
