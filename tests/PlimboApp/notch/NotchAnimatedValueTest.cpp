#include "NotchAnimatedValue.h"
#include "NotchHarness.h"
#include "NotchMorphEffect.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace plimbo;
using namespace plimbo::test;

TEST(NotchAnimatedValueTest, MovesAlongItsCurveAndJumpsWithoutOne) {
    NotchAnimatedValue value(0);
    value.moveTo(1, NotchAnimatedValue::spring(0.2));
    EXPECT_TRUE(value.isAnimating());
    EXPECT_EQ(value.target(), 1);
    QTest::qWait(60);
    EXPECT_GT(value.value(), 0);
    EXPECT_LT(value.value(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !value.isAnimating(); }, 1000));
    EXPECT_EQ(value.value(), 1);

    value.moveTo(0.25);
    EXPECT_FALSE(value.isAnimating());
    EXPECT_EQ(value.value(), 0.25);
}

TEST(NotchAnimatedValueTest, ReversingMidWayStartsFromWhatIsShown) {
    NotchAnimatedValue value(0);
    value.moveTo(1, NotchAnimatedValue::easeInOut(0.3));
    QTest::qWait(120);
    const qreal reached = value.value();
    ASSERT_GT(reached, 0);
    QSignalSpy changes(&value, &NotchAnimatedValue::valueChanged);
    value.moveTo(0, NotchAnimatedValue::easeInOut(0.3));
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes.count() > 0; }, 500));
    // No jump back to 1 on the way down.
    for (const QList<QVariant>& change : changes) {
        EXPECT_LE(change.at(0).toReal(), reached + 1e-9);
    }
}

TEST(NotchAnimatedValueTest, ReduceMotionMakesEveryMoveImmediate) {
    ReducedMotion reduced;
    NotchAnimatedValue value(0);
    value.moveTo(1, NotchAnimatedValue::spring(0.34));
    EXPECT_FALSE(value.isAnimating());
    EXPECT_EQ(value.value(), 1);
}

TEST(NotchAnimatedValueTest, MorphEffectStaysOutOfTheWayWhenItChangesNothing) {
    NotchMorphEffect effect;
    EXPECT_FALSE(effect.isEnabled());
    effect.setScale(0.5, 0.2);
    EXPECT_TRUE(effect.isEnabled());
    // 0.96 + 0.04 is not exactly 1 in floating point; it still counts as no scale.
    effect.setScale(0.96 + 0.04, 1);
    effect.setOpacity(1);
    EXPECT_FALSE(effect.isEnabled());
    effect.setOpacity(0.5);
    EXPECT_TRUE(effect.isEnabled());
}
