#include "NotchSilhouette.h"

#include <gtest/gtest.h>

using namespace plimbo;

TEST(NotchSilhouetteTest, TopCornersAreSquareAndBottomCornersRounded) {
    const QRectF rect(0, 0, 520, 384);
    for (bool expanded : {true, false}) {
        const NotchSilhouette silhouette(expanded);
        const qreal r = expanded ? 24 : 15;
        EXPECT_EQ(silhouette.radius(), r);
        const QPainterPath path = silhouette.path(rect);
        // The top corners are filled right to the edge.
        EXPECT_TRUE(path.contains(QPointF(0.5, 0.5)));
        EXPECT_TRUE(path.contains(QPointF(519.5, 0.5)));
        // The bottom corners are cut away within the radius, not beyond it.
        EXPECT_FALSE(path.contains(QPointF(1, 383)));
        EXPECT_FALSE(path.contains(QPointF(519, 383)));
        EXPECT_TRUE(path.contains(QPointF(r + 1, 383)));
        EXPECT_TRUE(path.contains(QPointF(1, 384 - r - 1)));
    }
}
