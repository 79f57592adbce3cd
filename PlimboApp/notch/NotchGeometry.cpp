#include "NotchGeometry.h"

#include <QtMath>

#include <algorithm>

namespace plimbo {

std::optional<qsizetype> NotchGeometry::preferredScreen(const QList<DisplayScreen>& screens,
                                                        const QPoint& cursor,
                                                        std::optional<qsizetype> mainIndex) {
    for (qsizetype i = 0; i < screens.size(); ++i) {
        if (hasCameraHousing(screens[i])) {
            return i;
        }
    }
    for (qsizetype i = 0; i < screens.size(); ++i) {
        if (screens[i].frame.contains(cursor)) {
            return i;
        }
    }
    if (mainIndex && *mainIndex >= 0 && *mainIndex < screens.size()) {
        return mainIndex;
    }
    if (!screens.isEmpty()) {
        return 0;
    }
    return std::nullopt;
}

bool NotchGeometry::hasCameraHousing(const DisplayScreen& screen) {
    return screen.safeAreaTopInset > 0 && screen.auxiliaryTopLeftArea &&
           screen.auxiliaryTopRightArea;
}

NotchGeometry::Measurements NotchGeometry::measure(const DisplayScreen& screen) {
    Measurements result;
    result.hasHardwareNotch = hasCameraHousing(screen);
    result.screenName = screen.localizedName;
    if (result.hasHardwareNotch) {
        // The gap between the two unobscured strips is the housing.
        const qreal gap =
            screen.auxiliaryTopRightArea->left() -
            (screen.auxiliaryTopLeftArea->left() + screen.auxiliaryTopLeftArea->width());
        const qreal housingWidth = std::max(gap, minimumHousingWidth) + housingMargin;
        result.topInset = std::max<qreal>(screen.safeAreaTopInset, minimumHardwareTopInset);
        result.collapsedWidth = std::max(housingWidth, minimumHardwareCollapsedWidth);
    } else {
        result.topInset = virtualTopInset;
        result.collapsedWidth = virtualCollapsedWidth;
    }
    return result;
}

qreal NotchGeometry::collapsedHeight(bool hasHardwareNotch, qreal topInset) {
    return topInset + (hasHardwareNotch ? hardwareCapDrop : virtualCapDrop);
}

qreal NotchGeometry::compactWidth(qreal collapsedWidth, bool hovered) {
    return hovered ? std::max(collapsedWidth + hoverExtraWidth, minimumHoverWidth) : collapsedWidth;
}

QSizeF NotchGeometry::expandedSize(qreal topInset) {
    return {expandedWidth, topInset + expandedExtraHeight};
}

QSizeF NotchGeometry::size(const Measurements& measurements, bool expanded, bool hoveredCanvas) {
    if (expanded) {
        return expandedSize(measurements.topInset);
    }
    return {compactWidth(measurements.collapsedWidth, hoveredCanvas),
            collapsedHeight(measurements.hasHardwareNotch, measurements.topInset)};
}

QRect NotchGeometry::frame(const QRect& screenFrame, const QSizeF& size) {
    const int width = qRound(size.width());
    const int height = qRound(size.height());
    const qreal centre = screenFrame.x() + screenFrame.width() / 2.0;
    return {qRound(centre - width / 2.0), screenFrame.y(), width, height};
}

} // namespace plimbo
