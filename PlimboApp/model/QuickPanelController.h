#pragma once

namespace plimbo {

// One of the three quick panels (command palette, launcher, clipboard) as the model drives it.
// Panels are created once, start hidden and are only hidden again, never closed.
class QuickPanelController {
public:
    virtual ~QuickPanelController() = default;

    // Places the panel, re-arms its outside-click dismissal (stop, then start), activates the
    // application and raises the panel with the keyboard focus. Does nothing without a
    // window.
    virtual void show() = 0;
    // Removes the outside-click monitors; harmless when none are installed.
    virtual void stopOutsideClickMonitoring() = 0;
    // Hides the panel without touching the focus coordinator.
    virtual void hide() = 0;
};

} // namespace plimbo
