#pragma once

#include "AppWindowController.h"

#include <QRect>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace plimbo {

// Holds one ordinary window for the life of the application. Closing the window only hides
// it, so the same window (and its view's state) comes back the next time.
class WindowController : public AppWindowController {
public:
    explicit WindowController(std::unique_ptr<QWidget> window);
    ~WindowController() override;

    WindowController(const WindowController&) = delete;
    WindowController& operator=(const WindowController&) = delete;

    // Centres the window on its screen, clear of what `setKeepClear` names, restores it when
    // minimised, raises it and gives it the keyboard focus.
    void bringToFront() override;

    // Where no centred window may go (global coordinates): the notch's compact strip while
    // the notch is shown. Asked at every bringToFront.
    void setKeepClear(std::function<std::optional<QRect>()> keepClear);

    QWidget* window() const { return m_window.get(); }

private:
    std::unique_ptr<QWidget> m_window;
    std::function<std::optional<QRect>()> m_keepClear;
};

} // namespace plimbo
