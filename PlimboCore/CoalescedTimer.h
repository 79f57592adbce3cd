#pragma once

#include <QObject>

#include <chrono>

namespace plimbo {

// A timer for the periodic work of a program that runs all day (the clipboard poll, the
// system monitor's samples, health checks). Like a coarse QTimer it may fire up to 5 % of its
// interval early, but only to share a wake-up another of these timers is due at anyway: the
// timers of the main thread wake the process together instead of each on its own phase. It is
// never late by design. Main thread only.
class CoalescedTimer : public QObject {
    Q_OBJECT

public:
    explicit CoalescedTimer(QObject* parent = nullptr);
    ~CoalescedTimer() override;

    void setInterval(std::chrono::milliseconds interval);
    std::chrono::milliseconds interval() const { return m_interval; }
    void setSingleShot(bool singleShot) { m_singleShot = singleShot; }
    bool isActive() const { return m_active; }

    // (Re)starts the timer: it fires one interval from now.
    void start();
    void start(std::chrono::milliseconds interval);
    void stop();

signals:
    void timeout();

private:
    friend class WakeSchedule;

    std::chrono::milliseconds m_interval{0};
    bool m_singleShot = false;
    bool m_active = false;
};

} // namespace plimbo
