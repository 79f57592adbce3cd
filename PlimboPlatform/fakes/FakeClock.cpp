#include "FakeClock.h"

#include <QTimeZone>

#include <cmath>

namespace plimbo {

FakeClock::FakeClock()
    : FakeClock(QDateTime(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc())) {}

FakeClock::FakeClock(const QDateTime& start)
    : m_now(start.toUTC()) {}

void FakeClock::set(const QDateTime& time) {
    m_now = time.toUTC();
}

void FakeClock::advance(std::chrono::milliseconds by) {
    m_now = m_now.addMSecs(by.count());
}

void FakeClock::advanceSeconds(double seconds) {
    m_now = m_now.addMSecs(static_cast<qint64>(std::llround(seconds * 1000.0)));
}

} // namespace plimbo
