#include "LocalClickMonitor.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>

namespace plimbo {

namespace {

int liveMonitors = 0;

} // namespace

LocalClickMonitor::LocalClickMonitor(Handler handler)
    : m_handler(std::move(handler)) {
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->installEventFilter(this);
        ++liveMonitors;
    }
}

LocalClickMonitor::~LocalClickMonitor() {
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->removeEventFilter(this);
        --liveMonitors;
    }
}

int LocalClickMonitor::installedCount() {
    return liveMonitors;
}

bool LocalClickMonitor::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // A press reaches the window first and then the widget under it; the window is what
    // decides, so only the window's copy counts. The second press of a double click arrives
    // as a double-click event.
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) &&
        watched->isWindowType()) {
        // The handler may end this monitor: keep what it needs on the stack.
        const Handler handler = m_handler;
        handler(static_cast<QWindow*>(watched));
    }
    return false;
}

} // namespace plimbo
