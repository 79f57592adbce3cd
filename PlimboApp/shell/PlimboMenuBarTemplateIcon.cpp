#include "PlimboMenuBarTemplateIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace plimbo {

namespace {

// The drawing is laid out with the origin at the bottom left and y pointing up; Qt's y points
// down, so every y is mirrored inside the 18-unit square.
constexpr qreal flipY(qreal y) {
    return PlimboMenuBarTemplateIcon::side - y;
}

} // namespace

void PlimboMenuBarTemplateIcon::paint(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    const QColor black(Qt::black);
    QPen pen(black, 1.75, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);

    // Ring: centre (8.2, 9.4), radius 6, from 35 to 325 degrees anticlockwise, open on the
    // right. Qt measures arc angles as they appear on screen, so they need no mirroring.
    const QPointF centre(8.2, flipY(9.4));
    const QRectF ring(centre.x() - 6, centre.y() - 6, 12, 12);
    QPainterPath arc;
    arc.arcMoveTo(ring, 35);
    arc.arcTo(ring, 35, 325 - 35);
    painter.drawPath(arc);

    // Handle, down to the lower right.
    painter.drawLine(QPointF(10.2, flipY(6.6)), QPointF(15.5, flipY(1.5)));

    // Dots: ellipses inscribed in squares given by their lower-left corner and side.
    struct Dot {
        qreal x, y, side;
    };
    static constexpr Dot dots[] = {{10.2, 10.2, 2.35}, {5.4, 7.7, 1.55}, {8.3, 5.2, 1.35}};
    painter.setPen(Qt::NoPen);
    painter.setBrush(black);
    for (const Dot& dot : dots) {
        painter.drawEllipse(QRectF(dot.x, flipY(dot.y + dot.side), dot.side, dot.side));
    }
    painter.restore();
}

QImage PlimboMenuBarTemplateIcon::image(qreal devicePixelRatio) {
    const int pixels = static_cast<int>(std::ceil(side * devicePixelRatio));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter);
    painter.end();
    return image;
}

QIcon PlimboMenuBarTemplateIcon::icon() {
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image(1.0)));
    icon.addPixmap(QPixmap::fromImage(image(2.0)));
    icon.setIsMask(true);
    return icon;
}

} // namespace plimbo
