#include "AboutView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
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

    // The tag line and the requirement name the desktop it runs on, and fit unclipped.
    QStringList texts;
    for (const QLabel* label : view.findChildren<QLabel*>()) {
        texts << label->text();
        if (!label->wordWrap() && !label->text().isEmpty()) {
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
        }
    }
    EXPECT_TRUE(texts.contains("One app. One shortcut.\nEverything your desktop is missing."));
    EXPECT_TRUE(texts.contains("Linux with X11, or Wayland through XWayland"));
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

TEST(AboutViewTest, FindsTheShippedIconInABuildTreeAndWhenInstalled) {
    QTemporaryDir root;
    const QDir base(root.path());
    QImage green(48, 48, QImage::Format_ARGB32);
    green.fill(Qt::green);
    ASSERT_TRUE(base.mkpath(QStringLiteral("build/resources")));
    ASSERT_TRUE(base.mkpath(QStringLiteral("prefix/bin")));
    ASSERT_TRUE(base.mkpath(QStringLiteral("prefix/share/plimbo")));
    ASSERT_TRUE(green.save(base.filePath(QStringLiteral("build/resources/PlimboIcon.png"))));
    ASSERT_TRUE(green.save(base.filePath(QStringLiteral("prefix/share/plimbo/PlimboIcon.png"))));
    const QIcon previous = QApplication::windowIcon();
    QApplication::setWindowIcon(QIcon());

    for (const QString& program : {QStringLiteral("build"), QStringLiteral("prefix/bin")}) {
        const AboutView::BundleInfo bundle =
            AboutView::BundleInfo::installed(base.filePath(program));
        EXPECT_FALSE(bundle.iconFile.isEmpty()) << program.toStdString();
        AboutView view(bundle);
        const QPixmap shown = view.iconLabel()->pixmap();
        ASSERT_FALSE(shown.isNull()) << program.toStdString();
        const QImage image = shown.toImage();
        EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), QColor(Qt::green))
            << program.toStdString();
    }
    EXPECT_TRUE(AboutView::BundleInfo::installed(base.filePath(QStringLiteral("prefix")))
                    .iconFile.isEmpty());
    QApplication::setWindowIcon(previous);
}

} // namespace
