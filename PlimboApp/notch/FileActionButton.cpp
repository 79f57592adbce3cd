#include "FileActionButton.h"

#include "ChatStyle.h"
#include "NotchSymbols.h"
#include "PlimboTheme.h"

#include <QFontMetricsF>
#include <QPainter>

namespace plimbo {

namespace {

constexpr qreal kSymbolPoints = 11;
constexpr qreal kTitlePoints = 10;
constexpr qreal kSpacing = 5;

} // namespace

FileActionButton::FileActionButton(const QString& title, const QString& symbol, const QColor& tint,
                                   std::function<void()> action, QWidget* parent)
    : NotchButton(parent)
    , m_symbol(symbol)
    , m_tint(tint) {
    setFixedHeight(height);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setTitle(title);
    // Not the tooltip: the title is on show.
    setToolTip(QString());
    connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
}

void FileActionButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool focused = isFocused();
    painter.setPen(Qt::NoPen);
    painter.setBrush(ChatStyle::white(isHovered() || focused ? 0.15 : 0.08));
    painter.drawRoundedRect(QRectF(rect()), 9, 9);
    const qreal strokeWidth = focused ? 2 : 1;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(focused ? PlimboTheme::accent() : ChatStyle::white(0.07), strokeWidth));
    painter.drawRoundedRect(QRectF(rect()).adjusted(strokeWidth / 2, strokeWidth / 2,
                                                    -strokeWidth / 2, -strokeWidth / 2),
                            9, 9);

    const QFont font = ChatStyle::font(kTitlePoints, QFont::DemiBold);
    const QFontMetricsF metrics(font);
    const qreal symbolSide = NotchSymbols::side(kSymbolPoints);
    const qreal available = std::max<qreal>(0, width() - 8 - symbolSide - kSpacing);
    const QString text = metrics.elidedText(title(), Qt::ElideRight, available);
    const qreal total = symbolSide + kSpacing + metrics.horizontalAdvance(text);
    const qreal left = (width() - total) / 2;
    const qreal middle = height / 2.0;
    NotchSymbols::paint(painter, QPointF(left + symbolSide / 2, middle), kSymbolPoints, m_symbol,
                        m_tint);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(left + symbolSide + kSpacing, 0, available, height),
                     Qt::AlignLeft | Qt::AlignVCenter, text);
}

} // namespace plimbo
