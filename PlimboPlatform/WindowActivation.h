#pragma once

#include "RunningApplication.h"

#include <optional>

namespace plimbo {

// Which application is in front, and bringing one back to the front.
class WindowActivation {
public:
    virtual ~WindowActivation() = default;

    // The application whose window has the keyboard focus; none when no window has it or the
    // desktop cannot tell.
    virtual std::optional<RunningApplication> frontmostApplication() = 0;
    // Asks the window manager to raise and focus the application's window; false when it
    // could not be asked (the window may still refuse or be gone).
    virtual bool activate(const RunningApplication& application) = 0;
};

} // namespace plimbo
