// Renders the application icon: the brand mark in the accent colour on a dark rounded tile.
// Run it after changing the mark:
//   build/tools/render_plimbo_icon PlimboApp/resources/PlimboIcon.png
//   build/tools/render_plimbo_icon PlimboApp/resources/icons/hicolor/48x48/apps/com.plimbo.utility.png 48
//   build/tools/render_plimbo_icon PlimboApp/resources/icons/hicolor/scalable/apps/com.plimbo.utility.svg
// A PNG is drawn at the given side (512 by default) rather than scaled, so small sizes stay sharp.
#include "PlimboMenuBarIcon.h"
#include "PlimboTheme.h"

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

namespace {

constexpr int designSide = 512;

// Draws the icon in a designSide square.
void paintIcon(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF tile(24, 24, designSide - 48, designSide - 48);
    QLinearGradient background(tile.topLeft(), tile.bottomRight());
    background.setColorAt(0, QColor(28, 24, 44));
    background.setColorAt(1, QColor(10, 10, 14));
    painter.setPen(QPen(QColor(255, 255, 255, 28), 4));
    painter.setBrush(background);
    painter.drawRoundedRect(tile, 104, 104);

    const qreal markSide = designSide * 0.54;
    const QRectF mark((designSide - markSide) / 2, (designSide - markSide) / 2, markSide, markSide);
    plimbo::PlimboMenuBarIcon::paint(painter, mark, plimbo::PlimboTheme::accent(), true);
}

bool writeSvg(const QString& path) {
    QSvgGenerator generator;
    generator.setFileName(path);
    generator.setSize(QSize(designSide, designSide));
    generator.setViewBox(QRect(0, 0, designSide, designSide));
    generator.setTitle(QStringLiteral("Plimbo"));
    QPainter painter;
    if (!painter.begin(&generator)) {
        return false;
    }
    paintIcon(painter);
    return painter.end();
}

bool writePng(const QString& path, int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.scale(qreal(side) / designSide, qreal(side) / designSide);
    paintIcon(painter);
    painter.end();
    return image.save(path);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fputs("usage: render_plimbo_icon OUTPUT.png [SIDE] | OUTPUT.svg\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    const QString output = QString::fromLocal8Bit(argv[1]);
    const int side = argc == 3 ? QString::fromLocal8Bit(argv[2]).toInt() : designSide;
    const bool svg = output.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
    if (side <= 0 || (svg && argc == 3)) {
        std::fputs("usage: render_plimbo_icon OUTPUT.png [SIDE] | OUTPUT.svg\n", stderr);
        return 2;
    }
    if (!(svg ? writeSvg(output) : writePng(output, side))) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
