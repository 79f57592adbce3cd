#include "DashboardRowButton.h"

#include <QEnterEvent>
#include <QHBoxLayout>
#include <QPainter>

namespace plimbo {

DashboardRowButton::DashboardRowButton(QWidget* parent)
    : QAbstractButton(parent)
    , m_layout(new QHBoxLayout(this)) {
    m_layout->setContentsMargins(8, 0, 8, 0);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setAttribute(Qt::WA_Hover);
}

QSize DashboardRowButton::sizeHint() const {
    return m_layout->totalSizeHint();
}

QSize DashboardRowButton::minimumSizeHint() const {
    return m_layout->totalMinimumSize();
}

void DashboardRowButton::enterEvent(QEnterEvent* event) {
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void DashboardRowButton::leaveEvent(QEvent* event) {
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void DashboardRowButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(1, 1, -1, -1);
    if (isDown() || m_hovered) {
        QColor tint = palette().color(QPalette::WindowText);
        tint.setAlphaF(isDown() ? 0.1f : 0.05f);
        painter.setPen(Qt::NoPen);
        painter.setBrush(tint);
        painter.drawRoundedRect(area, 6, 6);
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(area, 6, 6);
    }
}

} // namespace plimbo
