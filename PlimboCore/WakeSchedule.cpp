#include "WakeSchedule.h"

#include "CoalescedTimer.h"

#include <QCoreApplication>
#include <QThread>
#include <QVarLengthArray>

#include <algorithm>

namespace plimbo {

namespace {

// As much as Qt lets a coarse timer fire early.
std::chrono::milliseconds earlyAllowanceFor(std::chrono::milliseconds interval) {
    return interval / 20;
}

} // namespace

WakeSchedule* WakeSchedule::forMainThread() {
    static QPointer<WakeSchedule> schedule;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        return nullptr;
    }
    Q_ASSERT(QThread::currentThread() == app->thread());
    if (!schedule) {
        schedule = new WakeSchedule(app);
    }
    return schedule;
}

WakeSchedule::WakeSchedule(QObject* parent)
    : QObject(parent) {
    m_wake.setSingleShot(true);
    // The due times are already where they should be; a coarse timer would move them again.
    m_wake.setTimerType(Qt::PreciseTimer);
    connect(&m_wake, &QTimer::timeout, this, &WakeSchedule::wake);
}

void WakeSchedule::add(CoalescedTimer* timer, Clock::time_point due) {
    // Timers are mostly restarted from their own slot: update the entry in place.
    const auto scheduled =
        std::find_if(m_entries.begin(), m_entries.end(),
                     [timer](const Entry& entry) { return entry.timer == timer; });
    if (scheduled != m_entries.end()) {
        scheduled->due = due;
        scheduled->earlyAllowance = earlyAllowanceFor(timer->interval());
    } else {
        m_entries.append({timer, due, earlyAllowanceFor(timer->interval())});
    }
    arm();
}

void WakeSchedule::remove(CoalescedTimer* timer) {
    m_entries.removeIf([timer](const Entry& entry) { return entry.timer == timer; });
}

bool WakeSchedule::isScheduled(const CoalescedTimer* timer) const {
    return std::any_of(m_entries.cbegin(), m_entries.cend(),
                       [timer](const Entry& entry) { return entry.timer == timer; });
}

void WakeSchedule::wake() {
    const Clock::time_point now = Clock::now();
    QVarLengthArray<Entry, 8> due;
    m_entries.removeIf([&](const Entry& entry) {
        if (!entry.timer || entry.due - entry.earlyAllowance > now) {
            return !entry.timer;
        }
        due.append(entry);
        return true;
    });
    std::sort(due.begin(), due.end(), [](const Entry& a, const Entry& b) { return a.due < b.due; });
    for (const Entry& entry : due) {
        // A slot of an earlier timer may have stopped, restarted or deleted this one.
        CoalescedTimer* timer = entry.timer;
        if (!timer || !timer->m_active || isScheduled(timer)) {
            continue;
        }
        if (timer->m_singleShot) {
            timer->m_active = false;
        } else {
            // Counted from this wake-up, not from the due time, so a timer that fired early
            // to share it keeps sharing the wake-ups of the timer it joined.
            m_entries.append(
                {timer, now + timer->interval(), earlyAllowanceFor(timer->interval())});
        }
        emit timer->timeout();
    }
    arm();
}

void WakeSchedule::arm() {
    const auto earliest =
        std::min_element(m_entries.cbegin(), m_entries.cend(),
                         [](const Entry& a, const Entry& b) { return a.due < b.due; });
    if (earliest == m_entries.cend()) {
        m_wake.stop();
        return;
    }
    // A slot usually restarts its own timer, which arms the wake-up already: arming it again for
    // the same due time would register the timer with the event loop a second time.
    if (m_wake.isActive() && m_armedFor == earliest->due) {
        return;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(earliest->due - Clock::now());
    m_wake.start(std::max(wait, std::chrono::milliseconds(0)));
    m_armedFor = earliest->due;
}

} // namespace plimbo
