#pragma once

#include <QIcon>
#include <QImage>

class QPainter;

namespace plimbo {

// The status icon, 18 x 18 at its natural size: the brand mark's magnifying glass and dots in black
// on transparency, drawn in code. Its pixels are only black with varying coverage, so whatever
// shows it may tint it as a mask.
class PlimboMenuBarTemplateIcon {
public:
    PlimboMenuBarTemplateIcon() = delete;

    static constexpr int side = 18;
    // The installed theme icon a status-notifier host may show instead of the pixmaps.
    static constexpr const char* themeName = "com.plimbo.utility";
    // The pixmap sizes the icon offers; hosts ask for nothing larger over D-Bus.
    static constexpr int offeredSides[] = {16, 18, 22, 24, 32, 48, 64};

    // The icon drawn at any size, named after the theme icon and marked as a mask.
    static QIcon icon();
    // The icon rendered at a device pixel ratio (18 x 18 logical pixels).
    static QImage image(qreal devicePixelRatio = 1.0);
    // Draws the icon in an 18 x 18 square whose top-left corner is the painter's origin.
    static void paint(QPainter& painter);
};

} // namespace plimbo
