#include "WindowController.h"

#include "OwnedWindows.h"
#include "PanelPlacement.h"

#include <QGuiApplication>
#include <QScreen>

namespace plimbo {

WindowController::WindowController(std::unique_ptr<QWidget> window)
    : m_window(std::move(window)) {
    m_window->setAttribute(Qt::WA_DeleteOnClose, false);
}

WindowController::~WindowController() = default;

void WindowController::bringToFront() {
    QWidget& window = *m_window;
    QScreen* screen = window.isVisible() ? window.screen() : nullptr;
    if (!screen) {
        screen = PanelPlacement::screenUnderCursorOrPrimary();
    }
    if (screen) {
        // The frame, title bar included, is what gets centred once the window manager has
        // framed the window; before the first showing only the content size is known.
        const QSize frameSize = window.isVisible() ? window.frameGeometry().size() : window.size();
        window.move(PanelPlacement::centred(screen->availableGeometry(), frameSize));
    }
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    OwnedWindows::raise(window);
    OwnedWindows::activate(window);
}

} // namespace plimbo
