#include "NotchMorphEffect.h"

#include <QPainter>

namespace plimbo {

NotchMorphEffect::NotchMorphEffect(QObject* parent)
    : QGraphicsEffect(parent) {
    setEnabled(false);
}

void NotchMorphEffect::changed() {
    // Off while it would change nothing: the widget then paints the ordinary way, which keeps
    // effects from nesting needlessly.
    setEnabled(!isIdentity());
    update();
}

void NotchMorphEffect::setScale(qreal x, qreal y) {
    if (m_scaleX != x || m_scaleY != y) {
        m_scaleX = x;
        m_scaleY = y;
        changed();
    }
}

void NotchMorphEffect::setOpacity(qreal opacity) {
    if (m_opacity != opacity) {
        m_opacity = opacity;
        changed();
    }
}

void NotchMorphEffect::setAnchor(Anchor anchor) {
    if (m_anchor != anchor) {
        m_anchor = anchor;
        update();
    }
}

void NotchMorphEffect::draw(QPainter* painter) {
    if (m_opacity <= 0) {
        return;
    }
    if (isIdentity()) {
        drawSource(painter);
        return;
    }
    // A widget source comes as a device-space pixmap; transform it in device space.
    const QRectF bounds = sourceBoundingRect(Qt::LogicalCoordinates);
    QPointF anchor = bounds.center();
    if (m_anchor == Anchor::topCentre) {
        anchor = QPointF(bounds.center().x(), bounds.top());
    } else if (m_anchor == Anchor::topTrailing) {
        anchor = bounds.topRight();
    }
    const QPointF deviceAnchor = painter->worldTransform().map(anchor);
    QPoint offset;
    const QPixmap pixmap = sourcePixmap(Qt::DeviceCoordinates, &offset, NoPad);
    if (pixmap.isNull()) {
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setOpacity(painter->opacity() * m_opacity);
    QTransform transform;
    transform.translate(deviceAnchor.x(), deviceAnchor.y());
    transform.scale(m_scaleX, m_scaleY);
    transform.translate(-deviceAnchor.x(), -deviceAnchor.y());
    painter->setWorldTransform(transform);
    painter->drawPixmap(offset, pixmap);
    painter->restore();
}

} // namespace plimbo
