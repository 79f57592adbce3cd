#include "WindowController.h"

#include "OwnedWindows.h"
#include "PanelPlacement.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace plimbo {

namespace {

// What a window manager's title bar, borders and bottom handle may add before the window is
// first framed (openbox's add about 40).
constexpr int titleBarAllowance = 48;

} // namespace

WindowController::WindowController(std::unique_ptr<QWidget> window)
    : m_window(std::move(window)) {
    m_window->setAttribute(Qt::WA_DeleteOnClose, false);
}

WindowController::~WindowController() = default;

void WindowController::setKeepClear(std::function<std::optional<QRect>()> keepClear) {
    m_keepClear = std::move(keepClear);
}

void WindowController::bringToFront() {
    QWidget& window = *m_window;
    QScreen* screen = window.isVisible() ? window.screen() : nullptr;
    if (!screen) {
        screen = PanelPlacement::screenUnderCursorOrPrimary();
    }
    if (screen) {
        // The frame, title bar included, is what gets centred once the window manager has
        // framed the window; before the first showing only the content size is known.
        const QRect available = screen->availableGeometry();
        const QSize frameSize = window.isVisible() ? window.frameGeometry().size() : window.size();
        QPoint topLeft = PanelPlacement::centred(available, frameSize);
        const std::optional<QRect> keepClear = m_keepClear ? m_keepClear() : std::nullopt;
        if (keepClear && QRect(topLeft, frameSize).intersects(*keepClear)) {
            // Below the strip the whole frame must fit, so an unframed window sets a title
            // bar's height aside.
            const int decoration = frameSize != window.size() ? frameSize.height() - window.height()
                                                              : titleBarAllowance;
            const QRect frame = PanelPlacement::centredClearOf(
                available, QSize(frameSize.width(), window.height() + decoration), *keepClear);
            const int height = std::max(window.minimumHeight(), frame.height() - decoration);
            if (height < window.height()) {
                window.resize(window.width(), height);
            }
            topLeft = frame.topLeft();
        }
        window.move(topLeft);
    }
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    OwnedWindows::raise(window);
    OwnedWindows::activate(window);
}

} // namespace plimbo
