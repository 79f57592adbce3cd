#include "StatusPill.h"

#include <QFontMetrics>
#include <QPainter>

namespace plimbo {

StatusPill::StatusPill(const QString& text, const QColor& color, QWidget* parent)
    : QWidget(parent)
    , m_text(text)
    , m_color(color) {
    QFont caption = font();
    caption.setPixelSize(10);
    caption.setWeight(QFont::Medium);
    setFont(caption);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(text);
}

void StatusPill::setText(const QString& text) {
    if (m_text != text) {
        m_text = text;
        setAccessibleName(text);
        updateGeometry();
        update();
    }
}

void StatusPill::setColor(const QColor& color) {
    if (m_color != color) {
        m_color = color;
        update();
    }
}

QSize StatusPill::sizeHint() const {
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(m_text) + 2 * horizontalPadding,
                 metrics.height() + 2 * verticalPadding);
}

void StatusPill::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor background = m_color;
    background.setAlphaF(m_color.alphaF() * backgroundOpacity);
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    const QRectF capsule = QRectF(rect());
    const qreal radius = capsule.height() / 2;
    painter.drawRoundedRect(capsule, radius, radius);

    painter.setPen(m_color);
    painter.setFont(font());
    painter.drawText(
        rect().adjusted(horizontalPadding, verticalPadding, -horizontalPadding, -verticalPadding),
        Qt::AlignCenter | Qt::TextSingleLine, m_text);
}

} // namespace plimbo
