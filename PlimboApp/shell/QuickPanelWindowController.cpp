#include "QuickPanelWindowController.h"

#include "GlobalSurfaceFocusCoordinator.h"

#include <QWindow>

namespace plimbo {

QuickPanelWindowController::QuickPanelWindowController(
    GlobalSurfaceFocusCoordinator& focusCoordinator, const QSize& size, const QString& title)
    : m_focusCoordinator(focusCoordinator)
    , m_window(std::make_unique<FloatingPanel>()) {
    m_window->resize(size);
    if (!title.isEmpty()) {
        m_window->setWindowTitle(title);
    }
}

QuickPanelWindowController::~QuickPanelWindowController() {
    stopOutsideClickMonitoring();
}

void QuickPanelWindowController::setView(QWidget* view) {
    m_window->setContent(view);
}

void QuickPanelWindowController::show() {
    if (!m_window) {
        return;
    }
    place(*m_window);
    stopOutsideClickMonitoring();
    startOutsideClickMonitoring();
    m_window->present();
}

void QuickPanelWindowController::stopOutsideClickMonitoring() {
    m_monitors.stop();
}

void QuickPanelWindowController::startOutsideClickMonitoring() {
    m_monitors.start([this](QWindow* window) { return isOwnedWindow(window); },
                     [this] { dismissForOutsideClick(); });
}

void QuickPanelWindowController::hide() {
    if (m_window) {
        m_window->hide();
    }
}

void QuickPanelWindowController::dismiss() {
    stopOutsideClickMonitoring();
    hide();
    m_focusCoordinator.restore();
}

void QuickPanelWindowController::dismissForOutsideClick() {
    stopOutsideClickMonitoring();
    hide();
    m_focusCoordinator.forget();
}

bool QuickPanelWindowController::isOwnedWindow(const QWindow* window) const {
    const QWindow* panel = m_window ? m_window->windowHandle() : nullptr;
    if (!window) {
        return !panel;
    }
    for (const QWindow* candidate = window; candidate; candidate = candidate->transientParent()) {
        if (candidate == panel) {
            return true;
        }
    }
    return false;
}

} // namespace plimbo
