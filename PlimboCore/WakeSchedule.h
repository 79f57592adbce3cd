#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>

namespace plimbo {

class CoalescedTimer;

// The due times of the main thread's coalesced timers, behind one precise timer: it wakes the
// process when the earliest is due and then fires every timer whose allowance for firing
// early has begun. Lives as long as the application object.
class WakeSchedule : public QObject {
    Q_OBJECT

public:
    using Clock = std::chrono::steady_clock;

    // None once the application object is gone (timers then simply stop).
    static WakeSchedule* forMainThread();

    void add(CoalescedTimer* timer, Clock::time_point due);
    void remove(CoalescedTimer* timer);

private:
    struct Entry {
        QPointer<CoalescedTimer> timer;
        Clock::time_point due;
        std::chrono::milliseconds earlyAllowance;
    };

    explicit WakeSchedule(QObject* parent);
    bool isScheduled(const CoalescedTimer* timer) const;
    void wake();
    void arm();

    QList<Entry> m_entries;
    QTimer m_wake;
    // The due time the wake-up timer was last started for.
    Clock::time_point m_armedFor;
};

} // namespace plimbo
