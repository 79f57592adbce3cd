#include "SectionHeader.h"
#include "PlimboTheme.h"
#include "StatusPill.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>

using namespace plimbo;

TEST(SectionHeaderTest, ShowsItsTextsVerbatimAndReadsThemTogether) {
    SectionHeader header(QStringLiteral("<b>Launcher</b>"), QStringLiteral("Apps & <i>files</i>"));
    EXPECT_EQ(header.titleLabel()->textFormat(), Qt::PlainText);
    EXPECT_EQ(header.detailLabel()->textFormat(), Qt::PlainText);
    EXPECT_EQ(header.title(), QStringLiteral("<b>Launcher</b>"));
    EXPECT_EQ(header.detail(), QStringLiteral("Apps & <i>files</i>"));
    EXPECT_EQ(header.accessibleName(), QStringLiteral("<b>Launcher</b>, Apps & <i>files</i>"));
    EXPECT_EQ(header.sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    // The detail is dimmed against the title.
    EXPECT_LT(header.detailLabel()->palette().color(QPalette::WindowText).alphaF(), 0.75);
}

TEST(StatusPillTest, PadsTheTextOnATintedCapsule) {
    StatusPill pill(QStringLiteral("Active"), PlimboTheme::positive());
    pill.resize(pill.sizeHint());

    QImage image(pill.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    pill.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    // The capsule's rounded ends leave the corners clear; its body carries the colour faintly.
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    const QRgb body = image.pixel(3, image.height() / 2);
    EXPECT_NEAR(qAlpha(body), 0.12 * 255, 3);

    pill.setText(QStringLiteral("Unavailable"));
    EXPECT_GT(pill.sizeHint().width(), image.width());
    EXPECT_EQ(pill.accessibleName(), QStringLiteral("Unavailable"));
}
