#pragma once

#include "NotchButton.h"

#include <QColor>

#include <functional>

namespace plimbo {

// One of the two round quick actions beside the hovered cap.
class NotchCompactActionButton : public NotchButton {
    Q_OBJECT

public:
    static constexpr int side = 28;

    NotchCompactActionButton(const QString& title, const QString& symbol, const QColor& tint,
                             std::function<void()> action, QWidget* parent = nullptr);

    QString symbol() const { return m_symbol; }
    QColor tint() const { return m_tint; }
    QColor fillColor() const;
    QColor strokeColor() const;
    qreal strokeWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    QColor m_tint;
};

} // namespace plimbo
