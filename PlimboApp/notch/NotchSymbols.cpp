#include "NotchSymbols.h"

#include "symbols/SymbolIcon.h"

#include <QPainter>

// Resources of a static library are registered by hand.
static void registerNotchSymbols() {
    Q_INIT_RESOURCE(notch_symbols);
}

namespace plimbo {

void NotchSymbols::ensureRegistered() {
    static const bool registered = [] {
        registerNotchSymbols();
        return true;
    }();
    Q_UNUSED(registered);
}

void NotchSymbols::paint(QPainter& painter, const QPointF& centre, qreal pointSize,
                         const QString& name, const QColor& color) {
    ensureRegistered();
    const qreal s = side(pointSize);
    SymbolIcon::paint(painter, QRectF(centre.x() - s / 2, centre.y() - s / 2, s, s), name, color);
}

} // namespace plimbo
