#include "SymbolButton.h"

#include "ChatStyle.h"
#include "symbols/SymbolIcon.h"

#include <QEvent>
#include <QFocusEvent>
#include <QPainter>

namespace plimbo {

SymbolButton::SymbolButton(const QString& symbol, int side, qreal symbolPixels, QWidget* parent)
    : QAbstractButton(parent)
    , m_symbol(symbol)
    , m_side(side)
    , m_symbolPixels(symbolPixels)
    , m_symbolColor(RoundedBox::primary(1.0)) {
    setFixedSize(side, side);
    setCursor(Qt::ArrowCursor);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::TabFocus);
}

void SymbolButton::setSymbol(const QString& symbol) {
    if (m_symbol != symbol) {
        m_symbol = symbol;
        update();
    }
}

void SymbolButton::setSymbolPixels(qreal pixels) {
    m_symbolPixels = pixels;
    update();
}

void SymbolButton::setSymbolColor(RoundedBox::Color color) {
    m_symbolColor = std::move(color);
    update();
}

void SymbolButton::setCircleColor(RoundedBox::Color color) {
    m_circleColor = std::move(color);
    update();
}

QColor SymbolButton::circleColor() const {
    return m_circleColor ? m_circleColor(this) : QColor(Qt::transparent);
}

QColor SymbolButton::symbolColor() const {
    return m_symbolColor ? m_symbolColor(this) : ChatStyle::primary(this);
}

void SymbolButton::setLabel(const QString& label) {
    setToolTip(label);
    setAccessibleName(label);
}

QSize SymbolButton::sizeHint() const {
    return {m_side, m_side};
}

bool SymbolButton::event(QEvent* event) {
    if (event->type() == QEvent::HoverEnter || event->type() == QEvent::HoverLeave) {
        update();
    }
    return QAbstractButton::event(event);
}

void SymbolButton::focusInEvent(QFocusEvent* event) {
    m_keyboardFocus =
        event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QAbstractButton::focusInEvent(event);
}

void SymbolButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_circleColor) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_circleColor(this));
        painter.drawEllipse(QRectF(rect()));
    }
    QColor symbol = symbolColor();
    if (!isEnabled()) {
        symbol = ChatStyle::withOpacity(symbol, 0.55);
    } else if (isDown()) {
        symbol = ChatStyle::withOpacity(symbol, 0.7);
    }
    const qreal side = m_symbolPixels;
    const QRectF area((width() - side) / 2, (height() - side) / 2, side, side);
    SymbolIcon::paint(painter, area, m_symbol, symbol);
    if (hasFocus() && m_keyboardFocus) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(
            QPen(ChatStyle::withOpacity(palette().color(QPalette::Highlight), 0.8), 1.5));
        painter.drawEllipse(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

} // namespace plimbo
