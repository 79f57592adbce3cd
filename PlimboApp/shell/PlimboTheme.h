#pragma once

#include <QColor>

namespace plimbo {

// The three shared colours of the design system, opaque sRGB.
class PlimboTheme {
public:
    PlimboTheme() = delete;

    static QColor accent();
    static QColor positive();
    static QColor warning();
};

} // namespace plimbo
