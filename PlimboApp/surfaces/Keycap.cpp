#include "Keycap.h"

#include "SurfaceStyle.h"

#include <QFontMetrics>
#include <QPainter>

namespace plimbo {

Keycap::Keycap(const QString& text, QWidget* parent)
    : QWidget(parent)
    , m_text(text) {
    setFont(SurfaceStyle::monospace(SurfaceStyle::TextStyle::caption));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(text);
}

QSize Keycap::sizeHint() const {
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(m_text) + 2 * horizontalPadding,
                 metrics.height() + 2 * verticalPadding);
}

void Keycap::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(SurfaceStyle::quaternaryFill(palette()));
    painter.drawRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.setPen(SurfaceStyle::tertiary(palette()));
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, m_text);
}

} // namespace plimbo
