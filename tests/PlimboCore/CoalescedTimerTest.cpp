#include "CoalescedTimer.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace plimbo;
using namespace std::chrono_literals;

namespace {

// Numbers the event loop's wake-ups: two timeouts seen with one number came in one wake-up.
class WakeUpCounter {
public:
    WakeUpCounter() {
        m_connection =
            QObject::connect(QAbstractEventDispatcher::instance(),
                             &QAbstractEventDispatcher::aboutToBlock, [this] { ++m_count; });
    }
    ~WakeUpCounter() { QObject::disconnect(m_connection); }
    int current() const { return m_count; }

private:
    QMetaObject::Connection m_connection;
    int m_count = 0;
};

} // namespace

TEST(CoalescedTimerTest, SingleShotFiresOnceAndStopOrRestartHoldsItBack) {
    CoalescedTimer timer;
    timer.setSingleShot(true);
    int fired = 0;
    QObject::connect(&timer, &CoalescedTimer::timeout, [&] { ++fired; });

    QElapsedTimer clock;
    clock.start();
    timer.start(40ms);
    EXPECT_TRUE(timer.isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return fired > 0; }, 5000));
    EXPECT_GE(clock.elapsed(), 38) << "more than its 5 % early with nothing else awake";
    EXPECT_FALSE(timer.isActive());
    QTest::qWait(100);
    EXPECT_EQ(fired, 1);

    timer.start(30ms);
    timer.stop();
    QTest::qWait(80);
    EXPECT_EQ(fired, 1) << "a stopped timer fired";

    // Starting again counts the interval from the new start.
    timer.start(60ms);
    QTest::qWait(40);
    clock.restart();
    timer.start(60ms);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fired > 1; }, 5000));
    EXPECT_GE(clock.elapsed(), 57);
}

// A 325 ms poll and a 1 s sampler, like the clipboard's 650 ms poll and the monitor's 2 s: every
// third poll comes 975 ms after the last, within 5 % of the sampler's interval, so once they meet
// the sampler rides on the poll's wake-ups instead of waking the process on its own. (A late
// poll on a loaded machine may make them miss each other at first.)
TEST(CoalescedTimerTest, ATimerDueSoonJoinsAnotherTimersWakeUp) {
    WakeUpCounter wakeUps;
    CoalescedTimer poll;
    CoalescedTimer sampler;
    poll.setInterval(325ms);
    sampler.setInterval(1000ms);
    QList<int> pollWakeUps;
    QList<int> samplerWakeUps;
    QList<qint64> samplerTimes;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&poll, &CoalescedTimer::timeout,
                     [&] { pollWakeUps.append(wakeUps.current()); });
    // A real event loop: QTest's waits poll and sleep instead of blocking in the dispatcher.
    QEventLoop loop;
    QObject::connect(&sampler, &CoalescedTimer::timeout, [&] {
        samplerWakeUps.append(wakeUps.current());
        samplerTimes.append(clock.elapsed());
        if (samplerWakeUps.size() == 6) {
            loop.quit();
        }
    });
    QTimer::singleShot(20s, &loop, &QEventLoop::quit);
    poll.start();
    sampler.start();
    loop.exec();
    ASSERT_EQ(samplerWakeUps.size(), 6);
    poll.stop();
    sampler.stop();

    qsizetype met = 0;
    while (met < samplerWakeUps.size() && !pollWakeUps.contains(samplerWakeUps[met])) {
        ++met;
    }
    EXPECT_LE(met, 2) << "the sampler never joined the poll";
    for (qsizetype i = 1; i < samplerWakeUps.size(); ++i) {
        if (i > met) {
            EXPECT_TRUE(pollWakeUps.contains(samplerWakeUps[i])) << "sample " << i << " woke alone";
        }
        EXPECT_GE(samplerTimes[i] - samplerTimes[i - 1], 949) << "more than 5 % early";
    }
}

TEST(CoalescedTimerTest, ASlotMayStopRestartOrDeleteATimerDueInTheSameWakeUp) {
    CoalescedTimer first;
    CoalescedTimer stopped;
    CoalescedTimer restarted;
    auto deleted = std::make_unique<CoalescedTimer>();
    for (CoalescedTimer* timer : {&first, &stopped, &restarted, deleted.get()}) {
        timer->setSingleShot(true);
    }
    int stoppedFired = 0;
    int restartedFired = 0;
    int deletedFired = 0;
    QObject::connect(&stopped, &CoalescedTimer::timeout, [&] { ++stoppedFired; });
    QObject::connect(&restarted, &CoalescedTimer::timeout, [&] { ++restartedFired; });
    QObject::connect(deleted.get(), &CoalescedTimer::timeout, [&] { ++deletedFired; });
    QObject::connect(&first, &CoalescedTimer::timeout, [&] {
        stopped.stop();
        restarted.start(300ms);
        deleted.reset();
    });
    // The others are due a moment later than the first, within their early allowance, so all
    // four fire in the first one's wake-up unless its slot changed them.
    first.start(200ms);
    stopped.start(205ms);
    restarted.start(205ms);
    deleted->start(205ms);

    QTest::qWait(400);
    EXPECT_EQ(stoppedFired, 0);
    EXPECT_EQ(deletedFired, 0);
    EXPECT_EQ(restartedFired, 0) << "fired on its old due time";
    EXPECT_TRUE(restarted.isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return restartedFired == 1; }, 5000));
}

// The shared wake-up keeps a steady pace while a poll runs; a timer due well before its next
// tick must bring the wake-up forward instead of waiting for the tick.
TEST(CoalescedTimerTest, ATimerDueBeforeTheNextWakeUpIsNotKeptWaiting) {
    CoalescedTimer poll;
    poll.setInterval(1000ms);
    int polls = 0;
    QObject::connect(&poll, &CoalescedTimer::timeout, [&] { ++polls; });
    poll.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return polls == 1; }, 5000));

    CoalescedTimer soon;
    soon.setSingleShot(true);
    QElapsedTimer clock;
    qint64 firedAfter = -1;
    QObject::connect(&soon, &CoalescedTimer::timeout, [&] { firedAfter = clock.elapsed(); });
    clock.start();
    soon.start(40ms);
    ASSERT_TRUE(QTest::qWaitFor([&] { return firedAfter >= 0; }, 5000));
    EXPECT_LT(firedAfter, 700) << "waited for the poll's wake-up";
    poll.stop();
}

// One timer wakes them all, so a slot that runs an event loop of its own (a modal dialog) must
// not hold the others back while it runs.
TEST(CoalescedTimerTest, TimersFireInsideAnEventLoopThatASlotRuns) {
    CoalescedTimer outer;
    CoalescedTimer inner;
    outer.setSingleShot(true);
    inner.setSingleShot(true);
    bool innerFired = false;
    bool firedInside = false;
    QObject::connect(&inner, &CoalescedTimer::timeout, [&] { innerFired = true; });
    QObject::connect(&outer, &CoalescedTimer::timeout, [&] {
        QEventLoop nested;
        QObject::connect(&inner, &CoalescedTimer::timeout, &nested, &QEventLoop::quit);
        QTimer::singleShot(3s, &nested, &QEventLoop::quit);
        inner.start(50ms);
        nested.exec();
        firedInside = innerFired;
    });
    outer.start(50ms);
    ASSERT_TRUE(QTest::qWaitFor([&] { return innerFired; }, 8000));
    EXPECT_TRUE(firedInside);
}
