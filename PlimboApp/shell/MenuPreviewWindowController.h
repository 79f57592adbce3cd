#pragma once

#include "WindowController.h"

namespace plimbo {

// The menu preview window "Plimbo Menu Preview" of a preview run, built by the surface factory.
class MenuPreviewWindowController final : public WindowController {
public:
    using WindowController::WindowController;
};

} // namespace plimbo
