#include "NotchCircleButton.h"

#include "NotchSymbols.h"

#include <QPainter>

namespace plimbo {

NotchCircleButton::NotchCircleButton(int side, Styler styler, QWidget* parent)
    : NotchButton(parent)
    , m_side(side)
    , m_styler(std::move(styler)) {
    setFixedSize(side, side);
}

void NotchCircleButton::paintEvent(QPaintEvent*) {
    const Look current = look();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal inset = current.strokeWidth / 2;
    const QRectF circle = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    painter.setPen(Qt::NoPen);
    painter.setBrush(current.fill);
    painter.drawEllipse(QRectF(rect()));
    if (current.strokeWidth > 0 && current.stroke.alpha() > 0) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(current.stroke, current.strokeWidth));
        painter.drawEllipse(circle);
    }
    if (!current.symbol.isEmpty()) {
        NotchSymbols::paint(painter, QRectF(rect()).center(), current.symbolPointSize,
                            current.symbol, current.symbolColor);
    }
}

bool NotchCircleButton::hitButton(const QPoint& pos) const {
    const QPointF centre = QRectF(rect()).center();
    const QPointF d = QPointF(pos) - centre;
    const qreal r = width() / 2.0;
    return d.x() * d.x() + d.y() * d.y() <= r * r;
}

} // namespace plimbo
