#include "ChatDivider.h"

#include <QPainter>

namespace plimbo {

ChatDivider::ChatDivider(Qt::Orientation orientation, RoundedBox::Color color, QWidget* parent)
    : QWidget(parent)
    , m_color(std::move(color)) {
    if (orientation == Qt::Horizontal) {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        setFixedWidth(1);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
}

void ChatDivider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_color(this));
}

} // namespace plimbo
