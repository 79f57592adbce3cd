#include "DesignStyle.h"

#include <QApplication>
#include <QFontDatabase>

namespace plimbo {

qreal DesignStyle::pixelSize(TextStyle style) {
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

QFont DesignStyle::font(qreal pixels, QFont::Weight weight) {
    QFont font = QApplication::font();
    font.setPixelSize(qRound(pixels));
    font.setWeight(weight);
    return font;
}

QFont DesignStyle::font(TextStyle style, QFont::Weight weight) {
    if (style == TextStyle::headline && weight == QFont::Normal) {
        weight = QFont::DemiBold;
    }
    return font(pixelSize(style), weight);
}

QFont DesignStyle::monospace(qreal pixels) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(qRound(pixels));
    return font;
}

QFont DesignStyle::monospace(TextStyle style) {
    return monospace(pixelSize(style));
}

QColor DesignStyle::withOpacity(QColor color, qreal opacity) {
    color.setAlphaF(static_cast<float>(color.alphaF() * opacity));
    return color;
}

} // namespace plimbo
