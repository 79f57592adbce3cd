#include "RoundedBox.h"

#include "ChatStyle.h"

#include <QPainter>
#include <QPainterPath>

namespace plimbo {

RoundedBox::RoundedBox(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
}

RoundedBox::Color RoundedBox::fixed(const QColor& color) {
    return [color](const QWidget*) {
        return color;
    };
}

RoundedBox::Color RoundedBox::primary(qreal opacity) {
    return [opacity](const QWidget* widget) {
        return ChatStyle::primary(widget, opacity);
    };
}

void RoundedBox::setRadius(qreal radius) {
    m_radius = radius;
    update();
}

void RoundedBox::setFill(Color fill) {
    m_fill = std::move(fill);
    update();
}

void RoundedBox::setStroke(Color stroke, qreal width) {
    m_stroke = std::move(stroke);
    m_strokeWidth = width;
    update();
}

QColor RoundedBox::fillColor() const {
    return m_fill ? m_fill(this) : QColor(Qt::transparent);
}

QColor RoundedBox::strokeColor() const {
    return m_stroke ? m_stroke(this) : QColor(Qt::transparent);
}

void RoundedBox::setPreferredSize(const QSize& size) {
    m_preferredSize = size;
    updateGeometry();
}

QSize RoundedBox::sizeHint() const {
    const QSize natural = QWidget::sizeHint();
    if (!m_preferredSize.isValid()) {
        return natural;
    }
    return {m_preferredSize.width() > 0 ? m_preferredSize.width() : natural.width(),
            m_preferredSize.height() > 0 ? m_preferredSize.height() : natural.height()};
}

void RoundedBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal inset = m_stroke ? m_strokeWidth / 2 : 0;
    const QRectF area = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    const qreal radius = m_radius < 0 ? area.height() / 2 : m_radius;
    QPainterPath path;
    path.addRoundedRect(area, radius, radius);
    if (m_fill) {
        painter.fillPath(path, m_fill(this));
    }
    if (m_stroke) {
        painter.strokePath(path, QPen(m_stroke(this), m_strokeWidth));
    }
}

} // namespace plimbo
