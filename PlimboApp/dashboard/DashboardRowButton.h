#pragma once

#include <QAbstractButton>

class QHBoxLayout;

namespace plimbo {

// A list row that acts as one plain button: its children lay out the row, a click anywhere on
// it presses it. Hover and press tint its background; keyboard focus shows the accent ring.
class DashboardRowButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit DashboardRowButton(QWidget* parent = nullptr);

    // The row's content goes here.
    QHBoxLayout* rowLayout() const { return m_layout; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QHBoxLayout* m_layout;
    bool m_hovered = false;
};

} // namespace plimbo
