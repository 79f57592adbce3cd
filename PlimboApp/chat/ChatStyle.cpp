#include "ChatStyle.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QWidget>

#include <algorithm>

namespace plimbo {

qreal ChatStyle::pixelSize(TextStyle style) {
    switch (style) {
    case TextStyle::body:
    case TextStyle::headline:
        return 13;
    case TextStyle::callout:
        return 12;
    case TextStyle::caption:
    case TextStyle::caption2:
        return 10;
    case TextStyle::title3:
        return 15;
    }
    return 13;
}

QFont ChatStyle::font(qreal pixels, QFont::Weight weight) {
    QFont font = QApplication::font();
    font.setPixelSize(qRound(pixels));
    font.setWeight(weight);
    return font;
}

QFont ChatStyle::font(TextStyle style, QFont::Weight weight) {
    return font(pixelSize(style), weight);
}

QFont ChatStyle::monospace(qreal pixels) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(qRound(pixels));
    return font;
}

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

QColor ChatStyle::withOpacity(QColor color, qreal opacity) {
    color.setAlphaF(static_cast<float>(color.alphaF() * opacity));
    return color;
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
