#pragma once

namespace plimbo {

// An ordinary window the model brings forward: the dashboard, the settings, the about window
// and the menu preview. Closing one only hides it.
class AppWindowController {
public:
    virtual ~AppWindowController() = default;

    // Activates the application, centres the window, makes it key and orders it front.
    virtual void bringToFront() = 0;
};

} // namespace plimbo
