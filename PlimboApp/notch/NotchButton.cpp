#include "NotchButton.h"

#include <QEvent>
#include <QFocusEvent>
#include <QPainter>

namespace plimbo {

NotchButton::NotchButton(QWidget* parent)
    : QAbstractButton(parent) {
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::ArrowCursor);
}

void NotchButton::setTitle(const QString& title) {
    m_title = title;
    setToolTip(title);
    setAccessibleName(title);
    update();
}

void NotchButton::enterEvent(QEnterEvent* event) {
    setHovered(true);
    QAbstractButton::enterEvent(event);
}

void NotchButton::leaveEvent(QEvent* event) {
    setHovered(false);
    QAbstractButton::leaveEvent(event);
}

bool NotchButton::isFocused() const {
    return hasFocus() && m_focusReason != Qt::ActiveWindowFocusReason;
}

void NotchButton::focusInEvent(QFocusEvent* event) {
    m_focusReason = event->reason();
    QAbstractButton::focusInEvent(event);
    update();
}

void NotchButton::focusOutEvent(QFocusEvent* event) {
    QAbstractButton::focusOutEvent(event);
    update();
}

void NotchButton::changeEvent(QEvent* event) {
    // A button hidden under the pointer gets no leave event.
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        setHovered(false);
    }
    QAbstractButton::changeEvent(event);
}

void NotchButton::setHovered(bool hovered) {
    if (m_hovered != hovered) {
        m_hovered = hovered;
        update();
        emit hoveredChanged(hovered);
    }
}

void NotchButton::paintDisc(QPainter& painter, const QRectF& bounds, const QColor& fill,
                            const QColor& stroke, qreal strokeWidth) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawEllipse(bounds);
    const qreal inset = strokeWidth / 2;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(stroke, strokeWidth));
    painter.drawEllipse(bounds.adjusted(inset, inset, -inset, -inset));
}

} // namespace plimbo
