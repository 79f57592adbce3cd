#pragma once

namespace plimbo {

// The symbols the dashboard, settings and about windows add to the shared symbol icons
// (metrics, permissions, diagnostics). Resources of a static library register by hand.
class DashboardSymbols {
public:
    DashboardSymbols() = delete;

    // Safe to call any number of times.
    static void load();
};

} // namespace plimbo
