#include "NotchTextButton.h"

#include "ChatStyle.h"
#include "PlimboTheme.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

namespace plimbo {

namespace {

QFont footerFont() {
    return ChatStyle::font(ChatStyle::TextStyle::caption);
}

} // namespace

NotchTextButton::NotchTextButton(const QString& title, QWidget* parent)
    : NotchButton(parent) {
    setTitle(title);
    setToolTip(QString());
    setText(title);
}

QSize NotchTextButton::sizeHint() const {
    const QFontMetricsF metrics(footerFont());
    return {qCeil(metrics.horizontalAdvance(title()) + 12), qCeil(metrics.height() + 8)};
}

void NotchTextButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool focused = isFocused();
    const QRectF box = QRectF(rect()).adjusted(1, 1, -1, -1);
    painter.setPen(focused ? QPen(PlimboTheme::accent(), 2) : Qt::NoPen);
    painter.setBrush(focused ? ChatStyle::white(0.12) : QColor(Qt::transparent));
    painter.drawRoundedRect(box, 6, 6);
    painter.setFont(footerFont());
    painter.setPen(ChatStyle::white(0.64));
    painter.drawText(QRectF(rect()), Qt::AlignCenter, title());
}

} // namespace plimbo
