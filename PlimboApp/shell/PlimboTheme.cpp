#include "PlimboTheme.h"

namespace plimbo {

QColor PlimboTheme::accent() {
    static const QColor colour = QColor::fromRgbF(0.43f, 0.36f, 0.96f);
    return colour;
}

QColor PlimboTheme::positive() {
    static const QColor colour = QColor::fromRgbF(0.2f, 0.7f, 0.49f);
    return colour;
}

QColor PlimboTheme::warning() {
    static const QColor colour = QColor::fromRgbF(0.94f, 0.62f, 0.2f);
    return colour;
}

} // namespace plimbo
