#pragma once

#include "DisplayScreen.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSizeF>
#include <QString>

#include <optional>

namespace plimbo {

// Where the notch panel goes and how big it is in each shape.
class NotchGeometry {
public:
    NotchGeometry() = delete;

    // The notch band and cap of one screen.
    struct Measurements {
        bool hasHardwareNotch = false;
        qreal topInset = virtualTopInset;
        qreal collapsedWidth = virtualCollapsedWidth;
        QString screenName;

        bool operator==(const Measurements&) const = default;
    };

    static constexpr qreal virtualTopInset = 34;
    static constexpr qreal virtualCollapsedWidth = 224;
    static constexpr qreal minimumHardwareTopInset = 30;
    static constexpr qreal minimumHousingWidth = 160;
    static constexpr qreal housingMargin = 28;
    static constexpr qreal minimumHardwareCollapsedWidth = 210;
    static constexpr qreal hoverExtraWidth = 150;
    static constexpr qreal minimumHoverWidth = 374;
    static constexpr qreal expandedWidth = 520;
    static constexpr qreal expandedExtraHeight = 350;
    static constexpr qreal hardwareCapDrop = 22;
    static constexpr qreal virtualCapDrop = 8;

    // A screen with a camera housing first (even when the pointer is elsewhere), else the one
    // under the pointer, else the main one, else the first; none without screens.
    static std::optional<qsizetype> preferredScreen(const QList<DisplayScreen>& screens,
                                                    const QPoint& cursor,
                                                    std::optional<qsizetype> mainIndex);
    static bool hasCameraHousing(const DisplayScreen& screen);
    static Measurements measure(const DisplayScreen& screen);

    // Height of the compact cap: the band plus 22 below a housing, plus 8 on a drawn notch.
    static qreal collapsedHeight(bool hasHardwareNotch, qreal topInset);
    // Width of the compact canvas: collapsed + 150, never below 374, while hovered.
    static qreal compactWidth(qreal collapsedWidth, bool hovered);
    static QSizeF expandedSize(qreal topInset);
    static QSizeF size(const Measurements& measurements, bool expanded, bool hoveredCanvas);
    // The panel's frame: horizontally centred on the screen, its top on the screen's top.
    static QRect frame(const QRect& screenFrame, const QSizeF& size);
};

} // namespace plimbo
