#include "NotchAnimatedValue.h"

#include "ReduceMotion.h"

#include <QtMath>

namespace plimbo {

namespace {

// x(t) = 1 - (1 + wt) e^(-wt) with w = 2π per response, scaled so the curve ends on 1.
qreal criticalSpring(qreal progress) {
    constexpr qreal omega = 2 * M_PI;
    static const qreal end = 1 - (1 + omega) * std::exp(-omega);
    const qreal value = 1 - (1 + omega * progress) * std::exp(-omega * progress);
    return std::min<qreal>(1, value / end);
}

} // namespace

NotchAnimatedValue::Motion NotchAnimatedValue::spring(qreal responseSeconds) {
    QEasingCurve curve;
    curve.setCustomType(criticalSpring);
    return {qRound(responseSeconds * 1000), curve};
}

NotchAnimatedValue::Motion NotchAnimatedValue::easeOut(qreal seconds) {
    return {qRound(seconds * 1000), QEasingCurve(QEasingCurve::OutCubic)};
}

NotchAnimatedValue::Motion NotchAnimatedValue::easeIn(qreal seconds) {
    return {qRound(seconds * 1000), QEasingCurve(QEasingCurve::InCubic)};
}

NotchAnimatedValue::Motion NotchAnimatedValue::easeInOut(qreal seconds) {
    return {qRound(seconds * 1000), QEasingCurve(QEasingCurve::InOutCubic)};
}

NotchAnimatedValue::NotchAnimatedValue(qreal initial, QObject* parent)
    : QObject(parent)
    , m_value(initial)
    , m_target(initial) {
    connect(&m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        if (!m_configuring) {
            setValue(value.toReal());
        }
    });
}

void NotchAnimatedValue::moveTo(qreal target, std::optional<Motion> motion) {
    m_target = target;
    m_animation.stop();
    if (!motion || motion->durationMs <= 0 || ReduceMotion::enabled() || m_value == target) {
        setValue(target);
        return;
    }
    // A stopped animation re-reports its old position as soon as its range changes; that
    // would make the value jump.
    const qreal from = m_value;
    m_configuring = true;
    m_animation.setStartValue(from);
    m_animation.setEndValue(target);
    m_animation.setDuration(motion->durationMs);
    m_animation.setEasingCurve(motion->curve);
    m_configuring = false;
    m_animation.start();
}

void NotchAnimatedValue::finish() {
    m_animation.stop();
    setValue(m_target);
}

void NotchAnimatedValue::setValue(qreal value) {
    if (m_value != value) {
        m_value = value;
        emit valueChanged(value);
    }
}

} // namespace plimbo
