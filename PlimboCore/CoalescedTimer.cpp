#include "CoalescedTimer.h"

#include "WakeSchedule.h"

#include <algorithm>

namespace plimbo {

CoalescedTimer::CoalescedTimer(QObject* parent)
    : QObject(parent) {}

CoalescedTimer::~CoalescedTimer() {
    stop();
}

void CoalescedTimer::setInterval(std::chrono::milliseconds interval) {
    m_interval = std::max(interval, std::chrono::milliseconds(0));
    if (m_active) {
        start();
    }
}

void CoalescedTimer::start() {
    WakeSchedule* schedule = WakeSchedule::forMainThread();
    if (!schedule) {
        m_active = false;
        return;
    }
    m_active = true;
    schedule->add(this, WakeSchedule::Clock::now() + m_interval);
}

void CoalescedTimer::start(std::chrono::milliseconds interval) {
    m_interval = std::max(interval, std::chrono::milliseconds(0));
    start();
}

void CoalescedTimer::stop() {
    m_active = false;
    if (WakeSchedule* schedule = WakeSchedule::forMainThread()) {
        schedule->remove(this);
    }
}

} // namespace plimbo
