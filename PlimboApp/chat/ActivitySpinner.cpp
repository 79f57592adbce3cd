#include "ActivitySpinner.h"

#include "ChatStyle.h"
#include "ReduceMotion.h"

#include <QPainter>

#include <algorithm>

namespace plimbo {

ActivitySpinner::ActivitySpinner(int side, const QColor& tint, QWidget* parent)
    : QWidget(parent)
    , m_tint(tint) {
    setFixedSize(side, side);
    setAttribute(Qt::WA_TranslucentBackground);
    m_timer.setInterval(30);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_angle = (m_angle + 12) % 360;
        update();
    });
    connect(&ReduceMotion::instance(), &ReduceMotion::enabledChanged, this,
            &ActivitySpinner::updateTimer);
}

void ActivitySpinner::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    updateTimer();
}

void ActivitySpinner::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_timer.stop();
}

void ActivitySpinner::updateTimer() {
    if (isVisible() && !ReduceMotion::enabled()) {
        m_timer.start();
    } else {
        m_timer.stop();
    }
}

void ActivitySpinner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal pen = std::max(1.5, width() / 8.0);
    const QRectF ring = QRectF(rect()).adjusted(pen, pen, -pen, -pen);
    painter.setPen(QPen(ChatStyle::withOpacity(m_tint, 0.22), pen));
    painter.drawEllipse(ring);
    QPen arc(m_tint, pen);
    arc.setCapStyle(Qt::RoundCap);
    painter.setPen(arc);
    painter.drawArc(ring, (90 - m_angle) * 16, -100 * 16);
}

} // namespace plimbo
