#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

namespace plimbo {

// The symbols of the notch: the shared symbol set plus the notch's own icons.
class NotchSymbols {
public:
    NotchSymbols() = delete;

    // Makes the notch's own icons known to SymbolIcon; cheap after the first call.
    static void ensureRegistered();
    // Draws the symbol `pointSize` high, centred on `centre`.
    static void paint(QPainter& painter, const QPointF& centre, qreal pointSize,
                      const QString& name, const QColor& color);
    // The square a symbol of that font size takes: a little taller than the letters.
    static qreal side(qreal pointSize) { return pointSize * 1.2; }
};

} // namespace plimbo
