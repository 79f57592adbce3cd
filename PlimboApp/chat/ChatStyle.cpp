#include "ChatStyle.h"

#include "PlimboTheme.h"

#include <QFontInfo>
#include <QLabel>
#include <QWidget>

#include <algorithm>
#include <cmath>

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

namespace {

// Aimed above 4.5:1 so that the tints under text (bubbles, selected rows) keep it above.
constexpr qreal kSecondaryContrast = 5.2;

qreal channel(float value) {
    return value <= 0.04045f ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

qreal luminance(const QColor& color) {
    const QColor rgb = color.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) +
           0.0722 * channel(rgb.blueF());
}

QColor over(const QColor& foreground, const QColor& background) {
    const QColor top = foreground.toRgb();
    const QColor bottom = background.toRgb();
    const float alpha = top.alphaF();
    return QColor::fromRgbF(top.redF() * alpha + bottom.redF() * (1 - alpha),
                            top.greenF() * alpha + bottom.greenF() * (1 - alpha),
                            top.blueF() * alpha + bottom.blueF() * (1 - alpha));
}

} // namespace

QColor ChatStyle::composite(const QColor& foreground, const QColor& background) {
    return over(foreground, background);
}

qreal ChatStyle::contrast(const QColor& foreground, const QColor& background) {
    const qreal a = luminance(over(foreground, background));
    const qreal b = luminance(background);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor ChatStyle::secondary(const QColor& text, const QColor& background) {
    qreal opacity = 0.55;
    while (opacity < 1.0 && contrast(withOpacity(text, opacity), background) < kSecondaryContrast) {
        opacity += 0.05;
    }
    return withOpacity(text, std::min(opacity, 1.0));
}

QColor ChatStyle::secondary(const QWidget* widget) {
    return secondary(widget->palette().color(QPalette::WindowText),
                     widget->palette().color(QPalette::Window));
}

QColor ChatStyle::accentText(const QPalette& palette) {
    const QColor accent = PlimboTheme::accent();
    const QColor text = palette.color(QPalette::WindowText).toRgb();
    const QColor window = palette.color(QPalette::Window);
    QColor mixed = accent;
    for (qreal toward = 0.05; toward <= 1.0 && contrast(mixed, window) < kSecondaryContrast;
         toward += 0.05) {
        mixed = QColor::fromRgbF(accent.redF() + (text.redF() - accent.redF()) * toward,
                                 accent.greenF() + (text.greenF() - accent.greenF()) * toward,
                                 accent.blueF() + (text.blueF() - accent.blueF()) * toward);
    }
    return mixed;
}

QColor ChatStyle::warning(const QWidget* widget) {
    const QColor window = widget->palette().color(QPalette::Window);
    const bool light =
        window.lightnessF() >= widget->palette().color(QPalette::WindowText).lightnessF();
    return light ? QColor::fromRgbF(0.56f, 0.28f, 0.0f) : PlimboTheme::warning();
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
