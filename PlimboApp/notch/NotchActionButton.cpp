#include "NotchActionButton.h"

#include "ChatStyle.h"
#include "NotchSymbols.h"
#include "PlimboTheme.h"

#include <QFontMetricsF>
#include <QPainter>

namespace plimbo {

namespace {

constexpr qreal kSymbolPoints = 16;
constexpr qreal kSymbolFrame = 18;
constexpr qreal kSpacing = 7;
constexpr qreal kTitlePoints = 10;
constexpr qreal kMinimumScale = 0.75;

} // namespace

NotchActionButton::NotchActionButton(const QString& title, const QString& symbol,
                                     const QColor& tint, std::function<void()> action,
                                     QWidget* parent)
    : NotchButton(parent)
    , m_symbol(symbol)
    , m_tint(tint) {
    setFixedHeight(height);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setTitle(title);
    connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
}

void NotchActionButton::setLook(const QString& title, const QString& symbol, const QColor& tint) {
    m_symbol = symbol;
    m_tint = tint;
    setTitle(title);
}

QColor NotchActionButton::fillColor() const {
    return ChatStyle::white(isHovered() || isFocused() ? 0.13 : 0.07);
}

void NotchActionButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool focused = isFocused();
    const qreal strokeWidth = focused ? 2 : 1;
    const QRectF box = QRectF(rect()).adjusted(strokeWidth / 2, strokeWidth / 2, -strokeWidth / 2,
                                               -strokeWidth / 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fillColor());
    painter.drawRoundedRect(QRectF(rect()), 12, 12);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(focused ? PlimboTheme::accent() : ChatStyle::white(0.07), strokeWidth));
    painter.drawRoundedRect(box, 12, 12);

    const QFont titleFont = ChatStyle::font(kTitlePoints, QFont::Medium);
    const QFontMetricsF metrics(titleFont);
    const qreal contentHeight = kSymbolFrame + kSpacing + metrics.height();
    const qreal top = (height - contentHeight) / 2;
    NotchSymbols::paint(painter, QPointF(width() / 2.0, top + kSymbolFrame / 2), kSymbolPoints,
                        m_symbol, m_tint);

    const qreal available = width() - 8;
    qreal scale = 1;
    const qreal natural = metrics.horizontalAdvance(title());
    if (natural > available && natural > 0) {
        scale = std::max(kMinimumScale, available / natural);
    }
    const QFont scaled = ChatStyle::font(kTitlePoints * scale, QFont::Medium);
    painter.setFont(scaled);
    painter.setPen(Qt::white);
    const QRectF titleRect(4, top + kSymbolFrame + kSpacing, available, metrics.height());
    painter.drawText(titleRect, Qt::AlignCenter,
                     QFontMetricsF(scaled).elidedText(title(), Qt::ElideRight, available));
}

} // namespace plimbo
