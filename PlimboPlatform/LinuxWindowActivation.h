#pragma once

#include "WindowActivation.h"

namespace plimbo {

// The desktop's side of focus hand-back. It does not query the window manager, so it never
// names a frontmost application: nothing is remembered and nothing is handed focus later.
class LinuxWindowActivation final : public WindowActivation {
public:
    std::optional<RunningApplication> frontmostApplication() override { return std::nullopt; }
    bool activate(const RunningApplication&) override { return false; }
};

} // namespace plimbo
