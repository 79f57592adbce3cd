#pragma once

#include <QEasingCurve>
#include <QObject>
#include <QVariantAnimation>

#include <optional>

namespace plimbo {

// A number the notch views draw from, moved to each new target either at once or along a
// timed curve. With reduce motion on every move happens at once.
class NotchAnimatedValue : public QObject {
    Q_OBJECT

public:
    struct Motion {
        int durationMs = 0;
        QEasingCurve curve;
    };

    // A critically damped spring that settles in about `response` seconds.
    static Motion spring(qreal responseSeconds);
    static Motion easeOut(qreal seconds);
    static Motion easeIn(qreal seconds);
    static Motion easeInOut(qreal seconds);

    explicit NotchAnimatedValue(qreal initial = 0, QObject* parent = nullptr);

    qreal value() const { return m_value; }
    qreal target() const { return m_target; }
    bool isAnimating() const { return m_animation.state() == QAbstractAnimation::Running; }
    // Starts from the value shown now, so a move that reverses mid-way stays continuous.
    void moveTo(qreal target, std::optional<Motion> motion = std::nullopt);
    // Jumps to the end of a running move.
    void finish();

signals:
    void valueChanged(qreal value);

private:
    void setValue(qreal value);

    qreal m_value;
    qreal m_target;
    bool m_configuring = false;
    QVariantAnimation m_animation;
};

} // namespace plimbo
