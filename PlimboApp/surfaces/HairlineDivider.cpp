#include "HairlineDivider.h"

#include "SurfaceStyle.h"

#include <QPainter>

namespace plimbo {

HairlineDivider::HairlineDivider(Qt::Orientation orientation, int length, QWidget* parent)
    : QWidget(parent)
    , m_orientation(orientation) {
    if (orientation == Qt::Horizontal) {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        setFixedWidth(1);
        if (length > 0) {
            setFixedHeight(length);
        }
        setSizePolicy(QSizePolicy::Fixed, length > 0 ? QSizePolicy::Fixed : QSizePolicy::Expanding);
    }
}

QColor HairlineDivider::lineColor(const QPalette& palette) {
    return SurfaceStyle::primary(palette, 0.12);
}

void HairlineDivider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), lineColor(palette()));
}

} // namespace plimbo
