#pragma once

#include "NotchButton.h"

#include <QColor>

#include <functional>

namespace plimbo {

// A round button showing one symbol: the notch's collapse, dismiss, remove and close
// buttons. Its look is worked out at paint time from its hover and focus state; only the
// circle takes clicks.
class NotchCircleButton : public NotchButton {
    Q_OBJECT

public:
    struct Look {
        QString symbol;
        qreal symbolPointSize = 12;
        QColor symbolColor = Qt::white;
        QColor fill = Qt::transparent;
        QColor stroke = Qt::transparent;
        qreal strokeWidth = 0;
    };
    using Styler = std::function<Look(const NotchCircleButton& button)>;

    NotchCircleButton(int side, Styler styler, QWidget* parent = nullptr);

    Look look() const { return m_styler(*this); }
    QSize sizeHint() const override { return {m_side, m_side}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    int m_side;
    Styler m_styler;
};

} // namespace plimbo
