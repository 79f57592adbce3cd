#include "SymbolView.h"

#include "symbols/SymbolIcon.h"

#include <QPainter>

#include <cmath>

namespace plimbo {

SymbolView::SymbolView(const QString& symbol, qreal side, QWidget* parent)
    : QWidget(parent)
    , m_symbol(symbol)
    , m_side(side) {
    SurfaceStyle::registerSymbols();
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SymbolView::setSymbol(const QString& symbol) {
    if (m_symbol != symbol) {
        m_symbol = symbol;
        update();
    }
}

void SymbolView::setTone(SurfaceStyle::Tone tone) {
    if (m_tone != tone) {
        m_tone = tone;
        update();
    }
}

void SymbolView::setColor(const std::optional<QColor>& color) {
    if (m_color != color) {
        m_color = color;
        update();
    }
}

QColor SymbolView::resolvedColor() const {
    return m_color ? *m_color : SurfaceStyle::color(m_tone, palette());
}

void SymbolView::setBackdrop(qreal opacity, qreal radius, const std::optional<QColor>& base) {
    m_backdropOpacity = opacity;
    m_backdropRadius = radius;
    m_backdropBase = base;
    update();
}

QSize SymbolView::sizeHint() const {
    const int side = static_cast<int>(std::ceil(m_side));
    return QSize(side, side);
}

void SymbolView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_backdropOpacity > 0) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        const QColor base = m_backdropBase ? *m_backdropBase : SurfaceStyle::primary(palette());
        painter.setBrush(SurfaceStyle::withOpacity(base, m_backdropOpacity));
        painter.drawRoundedRect(QRectF(rect()), m_backdropRadius, m_backdropRadius);
    }
    const qreal side = std::min<qreal>(m_side, std::min(width(), height()));
    const QRectF square((width() - side) / 2, (height() - side) / 2, side, side);
    SymbolIcon::paint(painter, square, m_symbol, resolvedColor());
}

} // namespace plimbo
