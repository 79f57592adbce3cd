#pragma once

#include <QColor>
#include <QTimer>
#include <QWidget>

namespace plimbo {

// A small indeterminate progress ring in a tint; it stands still with reduce motion on.
class ActivitySpinner : public QWidget {
    Q_OBJECT

public:
    ActivitySpinner(int side, const QColor& tint, QWidget* parent = nullptr);

    bool isSpinning() const { return m_timer.isActive(); }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void updateTimer();

    QColor m_tint;
    int m_angle = 0;
    QTimer m_timer;
};

} // namespace plimbo
