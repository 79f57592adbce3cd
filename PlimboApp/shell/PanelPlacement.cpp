#include "PanelPlacement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace plimbo {

QScreen* PanelPlacement::screenUnderCursor() {
    const QPoint pointer = QCursor::pos();
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (QScreen* screen : screens) {
        if (screen->geometry().contains(pointer)) {
            return screen;
        }
    }
    return nullptr;
}

QScreen* PanelPlacement::screenUnderCursorOrPrimary() {
    if (QScreen* screen = screenUnderCursor()) {
        return screen;
    }
    return QGuiApplication::primaryScreen();
}

QScreen* PanelPlacement::screenInUse() {
    if (QScreen* screen = screenUnderCursor()) {
        return screen;
    }
    if (QWindow* active = QGuiApplication::focusWindow()) {
        if (QScreen* screen = active->screen()) {
            return screen;
        }
    }
    return QGuiApplication::primaryScreen();
}

namespace {

// Left edge that centres `width` in the area; halves round down, as the drawing system does.
int centredLeft(const QRect& available, int width) {
    return available.x() + static_cast<int>(std::floor((available.width() - width) / 2.0));
}

} // namespace

QPoint PanelPlacement::topCentred(const QRect& available, const QSize& size, int topGap) {
    return QPoint(centredLeft(available, size.width()), available.y() + topGap);
}

QPoint PanelPlacement::centred(const QRect& available, const QSize& size) {
    // A window larger than the area keeps its title bar reachable.
    const int top =
        available.y() + static_cast<int>(std::floor((available.height() - size.height()) / 2.0));
    return QPoint(std::max(available.x(), centredLeft(available, size.width())),
                  std::max(available.y(), top));
}

QRect PanelPlacement::centredClearOf(const QRect& available, const QSize& size,
                                     const QRect& keepClear) {
    constexpr int gap = 6;
    const QRect centredFrame(centred(available, size), size);
    if (keepClear.isEmpty() || !centredFrame.intersects(keepClear)) {
        return centredFrame;
    }
    QRect below = available;
    below.setTop(std::max(available.top(), keepClear.bottom() + 1 + gap));
    if (below.height() <= 0) {
        return centredFrame;
    }
    const QSize fitted(size.width(), std::min(size.height(), below.height()));
    return QRect(centred(below, fitted), fitted);
}

QRect PanelPlacement::miniAIFrame(const QRect& available, bool conversation,
                                  bool pendingAttachments) {
    const int height = (conversation ? miniAIConversationHeight : miniAICompactHeight) +
                       (pendingAttachments ? miniAIAttachmentsExtra : 0);
    const int left = available.x() + available.width() / 2 - miniAIWidth / 2;
    const int top = available.y() + available.height() - miniAIBottomGap - height;
    return QRect(left, top, miniAIWidth, height);
}

QRect PanelPlacement::popupFrame(const QPoint& anchor, const QSize& size, const QRect& available) {
    constexpr int gap = 6;
    int left = anchor.x() - size.width() / 2;
    int top =
        anchor.y() < available.center().y() ? anchor.y() + gap : anchor.y() - gap - size.height();
    // Inside the area whenever it fits; a popup taller or wider than the area keeps its
    // top-left corner in it.
    left = std::max(available.left(), std::min(left, available.right() + 1 - size.width()));
    top = std::max(available.top(), std::min(top, available.bottom() + 1 - size.height()));
    return QRect(QPoint(left, top), size);
}

} // namespace plimbo
