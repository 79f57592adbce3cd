#include "CapsuleButton.h"

#include "ChatStyle.h"
#include "symbols/SymbolIcon.h"

#include <QPainter>

namespace plimbo {

namespace {

constexpr int kHorizontalPadding = 12;
constexpr int kVerticalPadding = 8;
constexpr int kGap = 6;

} // namespace

CapsuleButton::CapsuleButton(const QString& title, const QString& symbol, QWidget* parent)
    : QAbstractButton(parent)
    , m_symbol(symbol) {
    setText(title);
    setFont(ChatStyle::font(ChatStyle::TextStyle::callout, QFont::Medium));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

QSize CapsuleButton::sizeHint() const {
    const QFontMetrics metrics(font());
    const int icon = metrics.height();
    return {kHorizontalPadding * 2 + icon + kGap + metrics.horizontalAdvance(text()),
            kVerticalPadding * 2 + metrics.height()};
}

void CapsuleButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = area.height() / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(ChatStyle::primary(this, isDown() ? 0.1 : underMouse() ? 0.08 : 0.055));
    painter.drawRoundedRect(area, radius, radius);
    painter.setPen(QPen(ChatStyle::primary(this, 0.08), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(area, radius, radius);

    const QFontMetrics metrics(font());
    const int icon = metrics.height();
    const QRectF iconArea(kHorizontalPadding, (height() - icon) / 2.0, icon, icon);
    SymbolIcon::paint(painter, iconArea.adjusted(1, 1, -1, -1), m_symbol, ChatStyle::primary(this));
    painter.setFont(font());
    painter.setPen(ChatStyle::primary(this));
    painter.drawText(
        QRectF(iconArea.right() + kGap, 0, width() - iconArea.right() - kGap, height()),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
}

} // namespace plimbo
