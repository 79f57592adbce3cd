#pragma once

#include "WindowController.h"

#include <QSize>

namespace plimbo {

// The about window "About Plimbo": 820 x 630, closable, not resizable; it builds its own
// window around the about view.
class AboutWindowController final : public WindowController {
public:
    AboutWindowController();

    static constexpr QSize size{820, 630};
};

} // namespace plimbo
