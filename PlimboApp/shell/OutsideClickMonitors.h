#pragma once

#include "GlobalClickMonitor.h"
#include "LocalClickMonitor.h"

#include <functional>
#include <memory>

class QWindow;

namespace plimbo {

// The pair of click monitors a floating panel keeps while it is shown: one for clicks in this
// application's windows, one for clicks elsewhere.
class OutsideClickMonitors {
public:
    OutsideClickMonitors() = default;
    ~OutsideClickMonitors();
    OutsideClickMonitors(const OutsideClickMonitors&) = delete;
    OutsideClickMonitors& operator=(const OutsideClickMonitors&) = delete;

    // Installs both monitors (replacing any installed ones). A click in one of this
    // application's windows runs `dismiss` unless `isOwnWindow` accepts the window; a click
    // elsewhere always does.
    void start(std::function<bool(QWindow* window)> isOwnWindow, std::function<void()> dismiss);
    // Removes them, global first; harmless when none are installed.
    void stop();

    bool isArmed() const { return m_global || m_local; }
    GlobalClickMonitor* global() const { return m_global.get(); }
    LocalClickMonitor* local() const { return m_local.get(); }

private:
    std::unique_ptr<GlobalClickMonitor> m_global;
    std::unique_ptr<LocalClickMonitor> m_local;
};

} // namespace plimbo
