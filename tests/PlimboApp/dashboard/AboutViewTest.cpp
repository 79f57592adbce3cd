#include "AboutView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>

using namespace plimbo;

namespace {

TEST(AboutViewTest, VersionRowFallsBackWhenKeysAreMissingOrNotText) {
    AboutView::BundleInfo bundle;
    EXPECT_EQ(AboutView(bundle).versionValue()->text(), QStringLiteral("0.1.0 (1)"));

    bundle.shortVersion = 7;
    bundle.buildVersion = QStringLiteral("42");
    EXPECT_EQ(AboutView(bundle).versionValue()->text(), QStringLiteral("0.1.0 (42)"));

    bundle.shortVersion = QStringLiteral("2.3.1");
    bundle.buildVersion = 3.5;
    EXPECT_EQ(AboutView(bundle).versionValue()->text(), QStringLiteral("2.3.1 (1)"));
}

TEST(AboutViewTest, AlwaysMeasuresEightTwentyBySixThirtyAndRendersDark) {
    AboutView view(AboutView::BundleInfo{});
    view.show();
    EXPECT_EQ(view.size(), QSize(820, 630));
    EXPECT_LT(view.palette().color(QPalette::Window).lightness(), 80);
    EXPECT_GT(view.palette().color(QPalette::WindowText).lightness(), 200);
}

TEST(AboutViewTest, IconComesFromTheFileThenTheApplicationThenNothing) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("PlimboIcon.png"));
    QImage red(64, 64, QImage::Format_ARGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(file));
    const QIcon previous = QApplication::windowIcon();

    AboutView::BundleInfo bundle;
    bundle.iconFile = file;
    EXPECT_EQ(AboutView::icon(bundle).pixel(10, 10), QColor(Qt::red).rgba());

    // Missing file: the application's own icon.
    bundle.iconFile = folder.filePath(QStringLiteral("missing.png"));
    QPixmap blue(32, 32);
    blue.fill(Qt::blue);
    QApplication::setWindowIcon(QIcon(blue));
    const QImage fallback = AboutView::icon(bundle);
    ASSERT_FALSE(fallback.isNull());
    EXPECT_EQ(fallback.pixelColor(fallback.width() / 2, fallback.height() / 2), QColor(Qt::blue));

    // Neither: an empty frame of the same size.
    QApplication::setWindowIcon(QIcon());
    EXPECT_TRUE(AboutView::icon(bundle).isNull());
    AboutView view(bundle);
    EXPECT_EQ(view.iconLabel()->size(), QSize(AboutView::iconSide, AboutView::iconSide));
    QApplication::setWindowIcon(previous);
}

} // namespace
