#include "GlobalClickMonitor.h"

#include <QGuiApplication>
#include <QTimer>

namespace plimbo {

namespace {

int liveMonitors = 0;

} // namespace

GlobalClickMonitor::GlobalClickMonitor(std::function<void()> handler)
    : m_handler(std::move(handler)) {
    ++liveMonitors;
    if (qGuiApp) {
        connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
                &GlobalClickMonitor::applicationStateChanged);
    }
}

GlobalClickMonitor::~GlobalClickMonitor() {
    --liveMonitors;
}

int GlobalClickMonitor::installedCount() {
    return liveMonitors;
}

void GlobalClickMonitor::applicationStateChanged(Qt::ApplicationState state) {
    if (state == Qt::ApplicationActive) {
        return;
    }
    // The timer, not this monitor, receives the event, so the handler may remove the monitor.
    QTimer::singleShot(0, this, [this] {
        const std::function<void()> handler = m_handler;
        handler();
    });
}

} // namespace plimbo
