// Renders the application icon, PlimboApp/resources/PlimboIcon.png: the brand mark in the
// accent colour on a dark rounded tile. Run it after changing the mark:
//   build/tools/render_plimbo_icon PlimboApp/resources/PlimboIcon.png
#include "PlimboMenuBarIcon.h"
#include "PlimboTheme.h"

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: render_plimbo_icon OUTPUT.png\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    constexpr int side = 512;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const QColor accent = plimbo::PlimboTheme::accent();
    const QRectF tile(24, 24, side - 48, side - 48);
    QLinearGradient background(tile.topLeft(), tile.bottomRight());
    background.setColorAt(0, QColor(28, 24, 44));
    background.setColorAt(1, QColor(10, 10, 14));
    painter.setPen(QPen(QColor(255, 255, 255, 28), 4));
    painter.setBrush(background);
    painter.drawRoundedRect(tile, 104, 104);

    const qreal markSide = side * 0.54;
    const QRectF mark((side - markSide) / 2, (side - markSide) / 2, markSide, markSide);
    plimbo::PlimboMenuBarIcon::paint(painter, mark, accent, true);
    painter.end();

    if (!image.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
