#include "NotchCompactActionButton.h"

#include "ChatStyle.h"
#include "NotchSymbols.h"
#include "PlimboTheme.h"

#include <QPainter>

namespace plimbo {

NotchCompactActionButton::NotchCompactActionButton(const QString& title, const QString& symbol,
                                                   const QColor& tint, std::function<void()> action,
                                                   QWidget* parent)
    : NotchButton(parent)
    , m_symbol(symbol)
    , m_tint(tint) {
    setFixedSize(side, side);
    setTitle(title);
    connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
}

QColor NotchCompactActionButton::fillColor() const {
    return ChatStyle::white(isHovered() || isFocused() ? 0.16 : 0.08);
}

QColor NotchCompactActionButton::strokeColor() const {
    if (isFocused()) {
        return PlimboTheme::accent();
    }
    return ChatStyle::white(isHovered() ? 0.16 : 0.07);
}

qreal NotchCompactActionButton::strokeWidth() const {
    return isFocused() ? 2 : 1;
}

void NotchCompactActionButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds(rect());
    paintDisc(painter, bounds, fillColor(), strokeColor(), strokeWidth());
    NotchSymbols::paint(painter, bounds.center(), 12, m_symbol, m_tint);
}

} // namespace plimbo
