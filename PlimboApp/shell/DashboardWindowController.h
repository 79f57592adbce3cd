#pragma once

#include "WindowController.h"

namespace plimbo {

// The dashboard window "Plimbo", built by the surface factory.
class DashboardWindowController final : public WindowController {
public:
    using WindowController::WindowController;
};

} // namespace plimbo
