#pragma once

#include <QRect>
#include <QString>

#include <optional>

namespace plimbo {

// One display as the notch sees it. Coordinates are the desktop's global logical pixels
// (origin top-left, y downward); `frame` is the whole screen, panels and bars included.
struct DisplayScreen {
    QRect frame;
    // Height of the strip at the top that a camera housing cuts into; 0 without one.
    int safeAreaTopInset = 0;
    // The unobscured strips left and right of a camera housing, when the screen has one.
    std::optional<QRect> auxiliaryTopLeftArea;
    std::optional<QRect> auxiliaryTopRightArea;
    QString localizedName;

    bool operator==(const DisplayScreen&) const = default;
};

} // namespace plimbo
