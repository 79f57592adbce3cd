#pragma once

#include <QObject>

#include <functional>

namespace plimbo {

// Stands for clicks in other applications: X11 tells a client nothing about clicks in other
// clients' windows, but such a click takes the activation away from this application. While
// this monitor exists, each loss of activation runs the handler once, on a later turn of the
// event loop; a monitor removed before then runs nothing.
class GlobalClickMonitor : public QObject {
    Q_OBJECT

public:
    explicit GlobalClickMonitor(std::function<void()> handler);
    ~GlobalClickMonitor() override;

    // Monitors alive in the process.
    static int installedCount();

private:
    void applicationStateChanged(Qt::ApplicationState state);

    std::function<void()> m_handler;
};

} // namespace plimbo
