#include "PlimboMenuBarIcon.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace plimbo {

PlimboMenuBarIcon::PlimboMenuBarIcon(const QColor& color, bool showsParticles, QWidget* parent)
    : QWidget(parent)
    , m_color(color)
    , m_showsParticles(showsParticles) {
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
}

void PlimboMenuBarIcon::setColor(const QColor& color) {
    if (m_color != color) {
        m_color = color;
        update();
    }
}

void PlimboMenuBarIcon::setShowsParticles(bool shows) {
    if (m_showsParticles != shows) {
        m_showsParticles = shows;
        update();
    }
}

QRectF PlimboMenuBarIcon::markSquare(const QRectF& area) {
    const qreal side = std::min(area.width(), area.height());
    return QRectF(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
}

qreal PlimboMenuBarIcon::lineWidth(qreal side) {
    return std::max(0.105 * side, 1.35);
}

void PlimboMenuBarIcon::paint(QPainter& painter, const QRectF& area, const QColor& color,
                              bool showsParticles) {
    const QRectF square = markSquare(area);
    const qreal s = square.width();
    if (s <= 0) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(square.topLeft());

    // Ring: 78 % of a circle (from 10 % to 88 % of its outline, clockwise from three o'clock),
    // turned 42 degrees anticlockwise, so it opens at the upper right where the largest dot
    // sits. Qt counts arc angles anticlockwise, hence the signs.
    QPen ringPen(color, lineWidth(s), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    ringPen.setMiterLimit(10);
    painter.setPen(ringPen);
    painter.setBrush(Qt::NoBrush);
    const QRectF ring(0.12 * s, 0.12 * s, 0.76 * s, 0.76 * s);
    const qreal startClockwise = 0.1 * 360 - 42;
    const qreal sweepClockwise = (0.88 - 0.1) * 360;
    QPainterPath arc;
    arc.arcMoveTo(ring, -startClockwise);
    arc.arcTo(ring, -startClockwise, -sweepClockwise);
    painter.drawPath(arc);

    // Handle, towards the lower right.
    QPen handlePen(color, lineWidth(s), Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin);
    handlePen.setMiterLimit(10);
    painter.setPen(handlePen);
    painter.drawLine(QPointF(0.57 * s, 0.58 * s), QPointF(0.88 * s, 0.89 * s));

    if (showsParticles) {
        struct Dot {
            qreal opacity, diameter, dx, dy;
        };
        // Offsets from the square's centre; negative y is up.
        static constexpr Dot dots[] = {
            {1.0, 0.16, 0.13, -0.17},
            {0.82, 0.1, -0.2, 0.08},
            {0.64, 0.08, 0.03, 0.22},
        };
        painter.setPen(Qt::NoPen);
        for (const Dot& dot : dots) {
            QColor fill = color;
            fill.setAlphaF(color.alphaF() * dot.opacity);
            painter.setBrush(fill);
            const QPointF centre(s / 2 + dot.dx * s, s / 2 + dot.dy * s);
            const qreal r = dot.diameter * s / 2;
            painter.drawEllipse(centre, r, r);
        }
    }
    painter.restore();
}

void PlimboMenuBarIcon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, QRectF(rect()), m_color, m_showsParticles);
}

} // namespace plimbo
