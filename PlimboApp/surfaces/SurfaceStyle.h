#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>

class QPainter;
class QWidget;
class QPalette;

namespace plimbo {

// Fonts, colours and shapes shared by the command surfaces. Sizes are pixels, one per point
// of the design; the text styles follow the desktop type scale the design was made with.
// Colours are resolved from a widget's palette at paint time, so a scheme change shows at once.
class SurfaceStyle {
public:
    SurfaceStyle() = delete;

    enum class TextStyle { body, callout, caption, caption2, headline, title3 };

    // How a piece of text or a symbol is coloured.
    enum class Tone { primary, secondary, tertiary, accent };

    static qreal pixelSize(TextStyle style);
    static QFont font(qreal pixels, QFont::Weight weight = QFont::Normal);
    static QFont font(TextStyle style, QFont::Weight weight = QFont::Normal);
    static QFont monospace(TextStyle style);

    // The palette's text colour at `opacity` (the design's "primary" at that opacity).
    static QColor primary(const QPalette& palette, qreal opacity = 1.0);
    static QColor secondary(const QPalette& palette);
    static QColor tertiary(const QPalette& palette);
    // The faint fill behind key caps.
    static QColor quaternaryFill(const QPalette& palette);
    static QColor color(Tone tone, const QPalette& palette);
    static QColor withOpacity(QColor color, qreal opacity);

    // True when the palette draws dark text on a light window.
    static bool isLightScheme(const QPalette& palette);

    // The translucent rounded body of a floating panel with its hairline edge.
    static void paintPanel(QPainter& painter, const QRectF& rect, qreal radius,
                           const QPalette& palette);

    // Makes the extra symbol drawings of the command surfaces known to SymbolIcon.
    static void registerSymbols();
};

} // namespace plimbo
