#include "OutsideClickMonitors.h"

#include <QWindow>

namespace plimbo {

OutsideClickMonitors::~OutsideClickMonitors() {
    stop();
}

void OutsideClickMonitors::start(std::function<bool(QWindow* window)> isOwnWindow,
                                 std::function<void()> dismiss) {
    stop();
    m_global = std::make_unique<GlobalClickMonitor>(dismiss);
    m_local = std::make_unique<LocalClickMonitor>(
        [isOwnWindow = std::move(isOwnWindow), dismiss](QWindow* window) {
            if (!isOwnWindow(window)) {
                dismiss();
            }
        });
}

void OutsideClickMonitors::stop() {
    m_global.reset();
    m_local.reset();
}

} // namespace plimbo
