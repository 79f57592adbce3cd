#pragma once

#include <QObject>

#include <functional>

class QWindow;

namespace plimbo {

// Watches every mouse button press in this application's own windows while it exists, and
// reports the window clicked. The press is never consumed: it still reaches its target.
class LocalClickMonitor : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void(QWindow* window)>;

    explicit LocalClickMonitor(Handler handler);
    ~LocalClickMonitor() override;

    // Monitors alive in the process (each is one application event filter).
    static int installedCount();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler m_handler;
};

} // namespace plimbo
