#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

namespace plimbo {

// Three accent dots that pulse one after another while a reply is awaited: each grows from its
// resting scale and opacity to full and back (ease in and out, 0.55 s each way), the second
// 0.12 s and the third 0.24 s behind the first. The pulse starts when the dots first appear.
// With reduce motion on they stand still at full size and opacity 0.72.
class PulsingDots : public QWidget {
    Q_OBJECT

public:
    struct Look {
        int dotSide;
        int spacing;
        int height;
        qreal restingOpacity;
        qreal restingScale;
    };

    PulsingDots(const Look& look, QWidget* parent = nullptr);

    // Set when the dots first appear; stays set.
    bool isActive() const { return m_active; }
    bool isAnimating() const { return m_timer.isActive(); }
    qreal dotOpacity(int index) const;
    qreal dotScale(int index) const;

    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // 0 at rest, 1 at full size, for a dot at this moment.
    qreal progress(int index) const;
    void updateTimer();

    Look m_look;
    bool m_active = false;
    QElapsedTimer m_clock;
    QTimer m_timer;
};

} // namespace plimbo
