#include "NotchSpinner.h"

#include <QPainter>

namespace plimbo {

NotchSpinner::NotchSpinner(int diameter, const QColor& color, QWidget* parent)
    : QWidget(parent)
    , m_color(color) {
    setFixedSize(diameter, diameter);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_rotation.setStartValue(0);
    m_rotation.setEndValue(8);
    m_rotation.setDuration(800);
    m_rotation.setLoopCount(-1);
    connect(&m_rotation, &QVariantAnimation::valueChanged, this, [this] { update(); });
}

void NotchSpinner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height());
    const int step = m_rotation.currentValue().toInt() % 8;
    painter.translate(QRectF(rect()).center());
    const qreal outer = side / 2;
    const qreal inner = outer * 0.45;
    const qreal thickness = std::max<qreal>(1.5, side / 9);
    for (int i = 0; i < 8; ++i) {
        QColor tick = m_color;
        // The leading tick is brightest; the ones behind it fade out.
        const int age = (step - i + 8) % 8;
        tick.setAlphaF(static_cast<float>(m_color.alphaF() * (1.0 - age * 0.11)));
        painter.setPen(QPen(tick, thickness, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(0, -inner), QPointF(0, -outer + thickness / 2));
        painter.rotate(45);
    }
}

void NotchSpinner::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_rotation.start();
}

void NotchSpinner::hideEvent(QHideEvent* event) {
    m_rotation.stop();
    QWidget::hideEvent(event);
}

} // namespace plimbo
