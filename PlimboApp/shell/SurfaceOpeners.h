#pragma once

#include "AppSection.h"
#include "SettingsSection.h"

#include <functional>

namespace plimbo {

// How a view opens the other windows and panels. Each of these crosses features in the model
// (the palette starts from an empty query, the mini AI from a fresh chat), so the shell hands
// the model's own operations over as they are; a view calls only the ones it offers.
struct SurfaceOpeners {
    std::function<void()> commandPalette;
    std::function<void()> launcher;
    std::function<void()> clipboard;
    std::function<void(AppSection)> dashboard;
    std::function<void(SettingsSection)> settings;
    // A fresh chat in the mini AI panel.
    std::function<void()> miniAI;
};

} // namespace plimbo
