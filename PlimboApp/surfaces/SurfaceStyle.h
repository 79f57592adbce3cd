#pragma once

#include "DesignStyle.h"

#include <QColor>
#include <QFont>
#include <QRectF>

class QPainter;
class QWidget;
class QPalette;

namespace plimbo {

// Fonts, colours and shapes shared by the command surfaces, on the design's type scale.
// Colours are resolved from a widget's palette at paint time, so a scheme change shows at once.
class SurfaceStyle : public DesignStyle {
public:
    SurfaceStyle() = delete;

    // How a piece of text or a symbol is coloured.
    enum class Tone { primary, secondary, tertiary, accent };

    // The palette's text colour at `opacity` (the design's "primary" at that opacity).
    static QColor primary(const QPalette& palette, qreal opacity = 1.0);
    static QColor secondary(const QPalette& palette);
    static QColor tertiary(const QPalette& palette);
    // The faint fill behind key caps.
    static QColor quaternaryFill(const QPalette& palette);
    static QColor color(Tone tone, const QPalette& palette);

    // True when the palette draws dark text on a light window.
    static bool isLightScheme(const QPalette& palette);

    // The translucent rounded body of a floating panel with its hairline edge.
    static void paintPanel(QPainter& painter, const QRectF& rect, qreal radius,
                           const QPalette& palette);

    // Makes the extra symbol drawings of the command surfaces known to SymbolIcon.
    static void registerSymbols();
};

} // namespace plimbo
