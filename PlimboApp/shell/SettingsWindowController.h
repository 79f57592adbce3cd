#pragma once

#include "WindowController.h"

namespace plimbo {

// The settings window "Plimbo Settings", built by the surface factory.
class SettingsWindowController final : public WindowController {
public:
    using WindowController::WindowController;
};

} // namespace plimbo
