#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QScreen;

namespace plimbo {

// Where the floating surfaces go. Rectangles are in Qt's global coordinates (y down);
// `available` is a screen's available geometry (the part not taken by panels and docks).
class PanelPlacement {
public:
    PanelPlacement() = delete;

    // The mini assistant's width and its heights.
    static constexpr int miniAIWidth = 420;
    static constexpr int miniAICompactHeight = 112;
    static constexpr int miniAIConversationHeight = 410;
    static constexpr int miniAIAttachmentsExtra = 86;
    static constexpr int miniAIBottomGap = 18;
    // Gaps between the top of the available area and the quick panels.
    static constexpr int launcherTopGap = 92;
    static constexpr int paletteTopGap = 96;

    // The first screen whose area holds the mouse pointer; null when none does.
    static QScreen* screenUnderCursor();
    // The screen under the pointer, else the primary screen; null without screens.
    static QScreen* screenUnderCursorOrPrimary();
    // The screen the user is working on: the pointer's, else the active window's, else the
    // primary one; null without screens.
    static QScreen* screenInUse();

    // Centred horizontally, its top `topGap` below the top of the area.
    static QPoint topCentred(const QRect& available, const QSize& size, int topGap);
    // Centred in the area; a window larger than the area keeps its top-left corner in it.
    static QPoint centred(const QRect& available, const QSize& size);
    // Centred in the area below `keepClear` (the notch's compact strip, which hangs over the
    // top edge and stays above every window) when a centred window would reach under it;
    // a window taller than what is left is shortened to fit.
    static QRect centredClearOf(const QRect& available, const QSize& size, const QRect& keepClear);
    // Centred horizontally at the bottom of the area, 18 above its edge, growing upwards.
    static QRect miniAIFrame(const QRect& available, bool conversation, bool pendingAttachments);
    // A popup of `size` next to `anchor` (the pointer when the tray icon was clicked): below
    // it in the upper half of the area, above it in the lower half, kept inside the area.
    static QRect popupFrame(const QPoint& anchor, const QSize& size, const QRect& available);
};

} // namespace plimbo
