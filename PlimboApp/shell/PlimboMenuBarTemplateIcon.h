#pragma once

#include <QIcon>
#include <QImage>

class QPainter;

namespace plimbo {

// The 18 x 18 status icon: the brand mark's magnifying glass and dots in black on
// transparency, drawn in code. Its pixels are only black with varying coverage, so whatever
// shows it may tint it as a mask.
class PlimboMenuBarTemplateIcon {
public:
    PlimboMenuBarTemplateIcon() = delete;

    static constexpr int side = 18;

    // The icon at 1x and 2x, marked as a mask.
    static QIcon icon();
    // The icon rendered at a device pixel ratio (18 x 18 logical pixels).
    static QImage image(qreal devicePixelRatio = 1.0);
    // Draws the icon in an 18 x 18 square whose top-left corner is the painter's origin.
    static void paint(QPainter& painter);
};

} // namespace plimbo
