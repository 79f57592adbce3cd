#include "SurfaceStyle.h"

#include "PlimboTheme.h"

#include <QPainter>
#include <QPainterPath>
#include <QPalette>

// Resources of a static library are registered by hand.
static void initialiseSurfaceSymbols() {
    Q_INIT_RESOURCE(surfacesymbols);
}

namespace plimbo {

QColor SurfaceStyle::primary(const QPalette& palette, qreal opacity) {
    return withOpacity(palette.color(QPalette::WindowText), opacity);
}

QColor SurfaceStyle::secondary(const QPalette& palette) {
    return primary(palette, 0.55);
}

QColor SurfaceStyle::tertiary(const QPalette& palette) {
    return primary(palette, 0.3);
}

QColor SurfaceStyle::quaternaryFill(const QPalette& palette) {
    return primary(palette, 0.08);
}

QColor SurfaceStyle::color(Tone tone, const QPalette& palette) {
    switch (tone) {
    case Tone::primary:
        return primary(palette);
    case Tone::secondary:
        return secondary(palette);
    case Tone::tertiary:
        return tertiary(palette);
    case Tone::accent:
        return PlimboTheme::accent();
    }
    return primary(palette);
}

bool SurfaceStyle::isLightScheme(const QPalette& palette) {
    return palette.color(QPalette::Window).lightnessF() >=
           palette.color(QPalette::WindowText).lightnessF();
}

void SurfaceStyle::paintPanel(QPainter& painter, const QRectF& rect, qreal radius,
                              const QPalette& palette) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(rect, radius, radius);
    // A slightly see-through window colour stands in for the desktop material.
    painter.fillPath(shape, withOpacity(palette.color(QPalette::Window), 0.97));
    const QColor edge = isLightScheme(palette) ? QColor::fromRgbF(0, 0, 0, 0.12f)
                                               : QColor::fromRgbF(1, 1, 1, 0.14f);
    painter.setPen(QPen(edge, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.restore();
}

void SurfaceStyle::registerSymbols() {
    static const bool registered = [] {
        initialiseSurfaceSymbols();
        return true;
    }();
    Q_UNUSED(registered);
}

} // namespace plimbo
