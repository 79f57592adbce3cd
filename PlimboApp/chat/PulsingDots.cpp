#include "PulsingDots.h"

#include "ChatStyle.h"
#include "ReduceMotion.h"
#include "PlimboTheme.h"

#include <QEasingCurve>
#include <QPainter>

#include <cmath>

namespace plimbo {

namespace {

constexpr qreal kHalfPeriodMs = 550;
constexpr qreal kDelayMs = 120;

} // namespace

PulsingDots::PulsingDots(const Look& look, QWidget* parent)
    : QWidget(parent)
    , m_look(look) {
    setFixedHeight(look.height);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TranslucentBackground);
    setAccessibleName(tr("Thinking"));
    m_timer.setInterval(16);
    connect(&m_timer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    connect(&ReduceMotion::instance(), &ReduceMotion::enabledChanged, this, [this] {
        updateTimer();
        update();
    });
}

QSize PulsingDots::sizeHint() const {
    return {3 * m_look.dotSide + 2 * m_look.spacing, m_look.height};
}

void PulsingDots::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_active) {
        m_active = true;
        m_clock.start();
    }
    updateTimer();
}

void PulsingDots::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_timer.stop();
}

void PulsingDots::updateTimer() {
    if (m_active && isVisible() && !ReduceMotion::enabled()) {
        m_timer.start();
    } else {
        m_timer.stop();
    }
}

qreal PulsingDots::progress(int index) const {
    if (!m_active) {
        return 0;
    }
    const qreal elapsed = static_cast<qreal>(m_clock.elapsed()) - index * kDelayMs;
    if (elapsed <= 0) {
        return 0;
    }
    const qreal phase = elapsed / kHalfPeriodMs;
    const qreal cycle = std::floor(phase);
    const qreal fraction = phase - cycle;
    static const QEasingCurve curve(QEasingCurve::InOutQuad);
    const qreal eased = curve.valueForProgress(fraction);
    return static_cast<qint64>(cycle) % 2 == 0 ? eased : 1 - eased;
}

qreal PulsingDots::dotOpacity(int index) const {
    if (ReduceMotion::enabled()) {
        return 0.72;
    }
    return m_look.restingOpacity + (1 - m_look.restingOpacity) * progress(index);
}

qreal PulsingDots::dotScale(int index) const {
    if (ReduceMotion::enabled()) {
        return 1;
    }
    return m_look.restingScale + (1 - m_look.restingScale) * progress(index);
}

void PulsingDots::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const qreal side = m_look.dotSide;
    const qreal y = height() / 2.0;
    for (int i = 0; i < 3; ++i) {
        const qreal x = i * (side + m_look.spacing) + side / 2;
        const qreal radius = side / 2 * dotScale(i);
        painter.setBrush(ChatStyle::withOpacity(PlimboTheme::accent(), dotOpacity(i)));
        painter.drawEllipse(QPointF(x, y), radius, radius);
    }
}

} // namespace plimbo
