#include "NotchMetricCell.h"

#include "ChatStyle.h"
#include "NotchSymbols.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

namespace plimbo {

namespace {

constexpr qreal kHorizontalPadding = 10;
constexpr qreal kSpacing = 3;
constexpr qreal kLabelPoints = 9;
constexpr qreal kValuePoints = 13;
constexpr qreal kMinimumScale = 0.72;

QFont labelFont() {
    return ChatStyle::font(kLabelPoints, QFont::Medium);
}

QFont valueFont(qreal scale = 1) {
    return ChatStyle::font(kValuePoints * scale, QFont::DemiBold);
}

} // namespace

NotchMetricCell::NotchMetricCell(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void NotchMetricCell::setCell(const NotchMetrics::Cell& cell) {
    if (m_cell == cell) {
        return;
    }
    m_cell = cell;
    setAccessibleName(cell.title + QStringLiteral(", ") + cell.value);
    update();
}

QSize NotchMetricCell::sizeHint() const {
    const qreal height =
        QFontMetricsF(labelFont()).height() + kSpacing + QFontMetricsF(valueFont()).height();
    return {80, qCeil(height)};
}

QSize NotchMetricCell::minimumSizeHint() const {
    return {qCeil(2 * kHorizontalPadding), sizeHint().height()};
}

void NotchMetricCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(kHorizontalPadding, 0, -kHorizontalPadding, 0);

    const QFontMetricsF labelMetrics(labelFont());
    const qreal symbolSide = NotchSymbols::side(kLabelPoints);
    const QColor labelColor = ChatStyle::white(0.55);
    NotchSymbols::paint(
        painter, QPointF(area.left() + symbolSide / 2, area.top() + labelMetrics.height() / 2),
        kLabelPoints, m_cell.symbol, labelColor);
    painter.setFont(labelFont());
    painter.setPen(labelColor);
    const QRectF labelRect(area.left() + symbolSide + 4, area.top(), area.width() - symbolSide - 4,
                           labelMetrics.height());
    painter.drawText(labelRect, Qt::AlignLeft | Qt::AlignVCenter,
                     labelMetrics.elidedText(m_cell.title, Qt::ElideRight, labelRect.width()));

    // One line; a value too wide shrinks down to 72 % before it is cut.
    qreal scale = 1;
    const qreal natural = QFontMetricsF(valueFont()).horizontalAdvance(m_cell.value);
    if (natural > area.width() && natural > 0) {
        scale = std::max(kMinimumScale, area.width() / natural);
    }
    const QFontMetricsF valueMetrics(valueFont(scale));
    const QRectF valueRect(area.left(), labelRect.bottom() + kSpacing, area.width(),
                           QFontMetricsF(valueFont()).height());
    painter.setFont(valueFont(scale));
    painter.setPen(m_cell.color);
    painter.drawText(valueRect, Qt::AlignLeft | Qt::AlignVCenter,
                     valueMetrics.elidedText(m_cell.value, Qt::ElideRight, valueRect.width()));
}

} // namespace plimbo
