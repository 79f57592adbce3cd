#pragma once

#include "Clock.h"

#include <QDateTime>

#include <chrono>

namespace plimbo {

// A clock that stands still until the test sets or advances it.
class FakeClock : public Clock {
public:
    // Starts at 2001-01-01T00:00:00Z unless given another time.
    FakeClock();
    explicit FakeClock(const QDateTime& start);

    QDateTime now() const override { return m_now; }

    void set(const QDateTime& time);
    void advance(std::chrono::milliseconds by);
    void advanceSeconds(double seconds);

private:
    QDateTime m_now;
};

} // namespace plimbo
