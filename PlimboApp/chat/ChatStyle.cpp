#include "ChatStyle.h"

#include <QFontInfo>
#include <QLabel>
#include <QWidget>

#include <algorithm>

namespace plimbo {

QFont ChatStyle::scaled(const QFont& base, TextStyle style) {
    QFont font = base;
    const qreal basePixels = base.pixelSize() > 0 ? base.pixelSize() : QFontInfo(base).pixelSize();
    const qreal pixels = basePixels * pixelSize(style) / pixelSize(TextStyle::body);
    font.setPixelSize(std::max(1, qRound(pixels)));
    return font;
}

QColor ChatStyle::primary(const QWidget* widget, qreal opacity) {
    QColor color = widget->palette().color(QPalette::WindowText);
    color.setAlphaF(static_cast<float>(opacity));
    return color;
}

QColor ChatStyle::secondary(const QWidget* widget) {
    return primary(widget, 0.55);
}

QColor ChatStyle::white(qreal opacity) {
    return QColor::fromRgbF(1, 1, 1, static_cast<float>(opacity));
}

QColor ChatStyle::black(qreal opacity) {
    return QColor::fromRgbF(0, 0, 0, static_cast<float>(opacity));
}

QLabel* ChatStyle::plainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

} // namespace plimbo
