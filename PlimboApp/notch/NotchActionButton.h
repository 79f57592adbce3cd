#pragma once

#include "NotchButton.h"

#include <QColor>

#include <functional>

namespace plimbo {

// A tile of the shelf's action grid: a symbol over a short title.
class NotchActionButton : public NotchButton {
    Q_OBJECT

public:
    static constexpr int height = 50;

    NotchActionButton(const QString& title, const QString& symbol, const QColor& tint,
                      std::function<void()> action, QWidget* parent = nullptr);

    // The keep-awake tile changes its look in place.
    void setLook(const QString& title, const QString& symbol, const QColor& tint);
    QString symbol() const { return m_symbol; }
    QColor tint() const { return m_tint; }
    QColor fillColor() const;
    QSize sizeHint() const override { return {100, height}; }
    QSize minimumSizeHint() const override { return {10, height}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    QColor m_tint;
};

} // namespace plimbo
