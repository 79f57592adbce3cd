#include "PlimboMenuBarIcon.h"
#include "PlimboMenuBarTemplateIcon.h"
#include "PlimboTheme.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

using namespace plimbo;

namespace {

bool opaque(const QImage& image, int x, int y) {
    return qAlpha(image.pixel(x, y)) > 128;
}

bool clear(const QImage& image, int x, int y) {
    return qAlpha(image.pixel(x, y)) == 0;
}

QImage render(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace

TEST(PlimboMenuBarTemplateIconTest, DrawsTheMarkUprightInBlackOnly) {
    const QImage image =
        PlimboMenuBarTemplateIcon::image(1.0).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(18, 18));

    // Ring around (8.2, 8.6) in Qt's coordinates: left, top and bottom are drawn...
    EXPECT_TRUE(opaque(image, 2, 8));
    EXPECT_TRUE(opaque(image, 8, 2));
    EXPECT_TRUE(opaque(image, 8, 14));
    // ...its right side is open and its middle empty.
    EXPECT_TRUE(clear(image, 14, 8));
    EXPECT_TRUE(clear(image, 8, 8));
    // The largest dot sits inside the ring, upper right of its centre.
    EXPECT_TRUE(opaque(image, 11, 6));
    // The handle runs down to the lower right corner; drawn with y up it would point to the
    // upper right instead.
    EXPECT_TRUE(opaque(image, 12, 13));
    EXPECT_TRUE(opaque(image, 15, 16));
    EXPECT_TRUE(clear(image, 15, 1));

    int covered = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) > 0) {
                ++covered;
                EXPECT_EQ(qRed(pixel) + qGreen(pixel) + qBlue(pixel), 0) << x << "," << y;
            }
        }
    }
    EXPECT_GT(covered, 40);
}

TEST(PlimboMenuBarTemplateIconTest, RendersSharplyAtDoubleDensityAndIsAMask) {
    const QImage image =
        PlimboMenuBarTemplateIcon::image(2.0).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(image.size(), QSize(36, 36));
    EXPECT_EQ(image.deviceIndependentSize(), QSizeF(18, 18));
    EXPECT_TRUE(opaque(image, 5, 17));
    EXPECT_TRUE(clear(image, 29, 17));
    EXPECT_TRUE(PlimboMenuBarTemplateIcon::icon().isMask());
}

// A scaled panel asks for the theme icon by name, or for pixmaps up to 64 px over D-Bus.
TEST(PlimboMenuBarTemplateIconTest, NamesTheThemeIconAndDrawsEverySizeAPanelAsksFor) {
    const QIcon icon = PlimboMenuBarTemplateIcon::icon();
    EXPECT_EQ(icon.name(), QStringLiteral("com.plimbo.utility"));
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(22, 22)));
    EXPECT_TRUE(sizes.contains(QSize(64, 64)));
    for (const QSize& size : sizes) {
        EXPECT_LE(size.width(), 64);
    }

    const QImage large =
        icon.pixmap(QSize(64, 64)).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(large.size(), QSize(64, 64));
    // The 18 px drawing's points, scaled: the ring's left side drawn, its middle and open right
    // side empty, the handle's end in the lower right.
    const auto at = [](int x) {
        return x * 64 / 18;
    };
    EXPECT_TRUE(opaque(large, at(2), at(8)));
    EXPECT_TRUE(clear(large, at(8), at(8)));
    EXPECT_TRUE(clear(large, at(14), at(8)));
    EXPECT_TRUE(opaque(large, at(15), at(16)));
    EXPECT_EQ(icon.pixmap(QSize(22, 22)).size(), QSize(22, 22));
}

TEST(PlimboMenuBarIconTest, FillsTheLargestCentredSquare) {
    PlimboMenuBarIcon icon(PlimboTheme::accent(), true);
    icon.resize(40, 24);
    EXPECT_EQ(PlimboMenuBarIcon::markSquare(QRectF(0, 0, 40, 24)), QRectF(8, 0, 24, 24));
    EXPECT_DOUBLE_EQ(PlimboMenuBarIcon::lineWidth(24), 2.52);
    EXPECT_DOUBLE_EQ(PlimboMenuBarIcon::lineWidth(10), 1.35);

    const QImage image = render(icon);
    for (int y = 0; y < 24; ++y) {
        for (int x : {0, 7, 32, 39}) {
            EXPECT_TRUE(clear(image, x, y)) << x << "," << y;
        }
    }
    // Ring centred at (20, 12): drawn on the left and at the bottom, open at the upper right.
    EXPECT_TRUE(opaque(image, 10, 12));
    EXPECT_TRUE(opaque(image, 19, 21));
    EXPECT_TRUE(clear(image, 26, 5));
    EXPECT_TRUE(clear(image, 18, 10));
    // Handle towards the lower right, largest dot in the opening.
    EXPECT_TRUE(opaque(image, 25, 17));
    EXPECT_TRUE(opaque(image, 23, 7));

    const QColor drawn = QColor::fromRgba(image.pixel(10, 12));
    const QColor accent = PlimboTheme::accent();
    EXPECT_NEAR(drawn.red(), accent.red(), 3);
    EXPECT_NEAR(drawn.green(), accent.green(), 3);
    EXPECT_NEAR(drawn.blue(), accent.blue(), 3);
}

TEST(PlimboMenuBarIconTest, LeavesOutTheDotsWhenAsked) {
    PlimboMenuBarIcon icon(PlimboTheme::accent(), false);
    icon.resize(24, 24);
    const QImage withoutDots = render(icon);
    EXPECT_TRUE(clear(withoutDots, 15, 7));
    EXPECT_TRUE(opaque(withoutDots, 2, 12));

    icon.setShowsParticles(true);
    EXPECT_TRUE(opaque(render(icon), 15, 7));
}
