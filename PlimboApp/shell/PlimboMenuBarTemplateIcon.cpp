#include "PlimboMenuBarTemplateIcon.h"

#include <QIconEngine>
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

// Draws the mark at whatever size the tray asks for and names the installed theme icon, so a
// panel that scales its icons can take the theme's instead of enlarging a small pixmap.
class TemplateIconEngine final : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        painter->save();
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / qreal(PlimboMenuBarTemplateIcon::side),
                       rect.height() / qreal(PlimboMenuBarTemplateIcon::side));
        PlimboMenuBarTemplateIcon::paint(*painter);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        const QSize square = actualSize(size, mode, state);
        QImage image(square * scale, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paint(&painter, QRect(QPoint(), image.size()), mode, state);
        painter.end();
        image.setDevicePixelRatio(scale);
        return QPixmap::fromImage(image);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = qMin(size.width(), size.height());
        return {side, side};
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const int side : PlimboMenuBarTemplateIcon::offeredSides) {
            sizes << QSize(side, side);
        }
        return sizes;
    }

    QString iconName() override {
        return QString::fromLatin1(PlimboMenuBarTemplateIcon::themeName);
    }
    QString key() const override { return QStringLiteral("PlimboMenuBarTemplateIcon"); }
    QIconEngine* clone() const override { return new TemplateIconEngine; }
};

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
    QIcon icon(new TemplateIconEngine);
    icon.setIsMask(true);
    return icon;
}

} // namespace plimbo
