#include "FakeClock.h"
#include "SystemClock.h"

#include <QTimeZone>

#include <gtest/gtest.h>

using namespace plimbo;
using namespace std::chrono_literals;

namespace {

TEST(SystemClock, GivesTheCurrentTimeInUtc) {
    SystemClock clock;
    const QDateTime before = QDateTime::currentDateTimeUtc();
    const QDateTime now = clock.now();
    EXPECT_EQ(now.timeSpec(), Qt::UTC);
    EXPECT_GE(now, before);
    EXPECT_LE(now, QDateTime::currentDateTimeUtc());
}

TEST(FakeClock, StandsStillUntilSetOrAdvanced) {
    FakeClock clock;
    EXPECT_EQ(clock.now(), QDateTime(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc()));
    EXPECT_EQ(clock.now(), clock.now());
    clock.advance(1500ms);
    EXPECT_EQ(clock.now(), QDateTime(QDate(2001, 1, 1), QTime(0, 0, 1, 500), QTimeZone::utc()));
    clock.advanceSeconds(-0.5);
    EXPECT_EQ(clock.now(), QDateTime(QDate(2001, 1, 1), QTime(0, 0, 1), QTimeZone::utc()));

    // A time given in another zone is kept as the same instant, in UTC.
    clock.set(QDateTime(QDate(2024, 5, 6), QTime(9, 0), QTimeZone(7200)));
    EXPECT_EQ(clock.now().timeSpec(), Qt::UTC);
    EXPECT_EQ(clock.now(), QDateTime(QDate(2024, 5, 6), QTime(7, 0), QTimeZone::utc()));
}

} // namespace
