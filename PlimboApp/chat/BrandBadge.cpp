#include "BrandBadge.h"

#include "ChatStyle.h"
#include "PlimboMenuBarIcon.h"
#include "PlimboTheme.h"

#include <QPainter>

namespace plimbo {

BrandBadge::BrandBadge(int side, int iconSide, qreal circleOpacity, QWidget* parent)
    : QWidget(parent)
    , m_iconSide(iconSide)
    , m_circleOpacity(circleOpacity) {
    setFixedSize(side, side);
    setAttribute(Qt::WA_TranslucentBackground);
}

void BrandBadge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_circleOpacity > 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(ChatStyle::withOpacity(PlimboTheme::accent(), m_circleOpacity));
        painter.drawEllipse(QRectF(rect()));
    }
    const QRectF icon((width() - m_iconSide) / 2.0, (height() - m_iconSide) / 2.0, m_iconSide,
                      m_iconSide);
    PlimboMenuBarIcon::paint(painter, icon, PlimboTheme::accent(), true);
}

} // namespace plimbo
