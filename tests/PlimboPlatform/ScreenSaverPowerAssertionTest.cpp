#include "ScreenSaverPowerAssertion.h"

#include "FakeBusTest.h"
#include "FakeScreenSaver.h"
#include "RestartingScreenSaver.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QTest>

#include <atomic>
#include <memory>

using namespace plimbo;

namespace {

using test::FakeScreenSaver;

class ScreenSaverPowerAssertionTest : public test::FakeBusTest<FakeScreenSaver> {
protected:
    ScreenSaverPowerAssertionTest()
        : FakeBusTest(QStringLiteral("ScreenSaver"),
                      QString::fromLatin1(ScreenSaverPowerAssertion::objectPath)) {}
};

} // namespace

namespace {

// Asks and waits for the answer, as the caller's event loop would.
std::optional<PowerAssertionReply> request(ScreenSaverPowerAssertion& assertion,
                                           int waitMs = 5000) {
    std::optional<PowerAssertionReply> answer;
    assertion.requestNoDisplaySleepAssertion(
        QStringLiteral("Plimbo Keep Awake"),
        [&answer](const PowerAssertionReply& reply) { answer = reply; });
    // No answer in time is an empty result, which the callers check.
    (void)QTest::qWaitFor([&] { return answer.has_value(); }, waitMs);
    return answer;
}

} // namespace

TEST_F(ScreenSaverPowerAssertionTest, CookieZeroIsAHeldInhibitionAndIsReleasedByValue) {
    ASSERT_TRUE(publishFake());
    ScreenSaverPowerAssertion assertion(QDBusConnection::sessionBus(), serviceName);

    const std::optional<PowerAssertionReply> reply = request(assertion);
    ASSERT_TRUE(reply.has_value());
    ASSERT_TRUE(reply->id.has_value()) << reply->detail.toStdString();
    EXPECT_EQ(*reply->id, 0u);
    assertion.releaseAssertion(*reply->id);
    EXPECT_TRUE(QTest::qWaitFor([&] { return fake->active().isEmpty(); }, 5000));
    EXPECT_EQ(fake->calls(), (QStringList{"Inhibit Plimbo|Plimbo Keep Awake -> 0", "UnInhibit 0"}));
}

TEST_F(ScreenSaverPowerAssertionTest, LaterCookiesArePassedThrough) {
    fake->nextCookie = 41;
    ASSERT_TRUE(publishFake());
    ScreenSaverPowerAssertion assertion(QDBusConnection::sessionBus(), serviceName);
    EXPECT_EQ(request(assertion)->id, 41u);
    EXPECT_EQ(request(assertion)->id, 42u);
}

TEST_F(ScreenSaverPowerAssertionTest, NoServiceOnTheBusIsAMissingServiceAtOnce) {
    ScreenSaverPowerAssertion assertion(QDBusConnection::sessionBus(), serviceName);
    QElapsedTimer clock;
    clock.start();
    const std::optional<PowerAssertionReply> reply = request(assertion);
    ASSERT_TRUE(reply.has_value());
    EXPECT_FALSE(reply->id.has_value());
    EXPECT_TRUE(reply->serviceMissing);
    EXPECT_LT(clock.elapsed(), 1500);
    EXPECT_FALSE(reply->detail.isEmpty());
}

TEST_F(ScreenSaverPowerAssertionTest, ALateAnswerStillReachesTheCallerWithoutBlockingIt) {
    // A grant after any timeout keeps the screen awake, so the caller must hear of it.
    fake->delayMs = 2500;
    ASSERT_TRUE(publishFake());
    ScreenSaverPowerAssertion assertion(QDBusConnection::sessionBus(), serviceName);
    std::optional<PowerAssertionReply> answer;
    QElapsedTimer clock;
    clock.start();
    assertion.requestNoDisplaySleepAssertion(
        QStringLiteral("x"), [&answer](const PowerAssertionReply& reply) { answer = reply; });
    EXPECT_LT(clock.elapsed(), 500) << "the call blocked";
    ASSERT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }, 8000));
    // The stand-in's delay runs on a coarse timer, which may fire a few per cent early.
    EXPECT_GE(clock.elapsed(), 2000);
    EXPECT_EQ(answer->id, 0u);
}

TEST(ScreenSaverPowerAssertionWithoutBus, NoBusConnectionIsAMissingService) {
    ScreenSaverPowerAssertion assertion(
        QDBusConnection(QStringLiteral("plimbo-never-connected")),
        QString::fromLatin1(ScreenSaverPowerAssertion::defaultServiceName));
    const std::optional<PowerAssertionReply> reply = request(assertion, 0);
    ASSERT_TRUE(reply.has_value()) << "no bus answers inside the call";
    EXPECT_TRUE(reply->serviceMissing);
    assertion.releaseAssertion(0); // nothing to release to; must not fail
}

TEST(ScreenSaverPowerAssertionRestart,
     AnInhibitionIsLostWhenItsProviderLeavesAndTheNextGoesToTheNewOne) {
    if (!test::FakeBusService::sessionBusIsAvailable()) {
        GTEST_SKIP() << "needs a D-Bus session bus";
    }
    test::RestartingScreenSaver first;
    ASSERT_TRUE(first.start());
    const QString name = first.serviceName();
    ScreenSaverPowerAssertion assertion(QDBusConnection::sessionBus(), name);
    QList<quint32> lost;
    assertion.setLostHandler([&lost](quint32 id) { lost << id; });
    ASSERT_EQ(request(assertion)->id, 0u);

    first.crash();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !lost.isEmpty(); }, 5000));
    EXPECT_EQ(lost, QList<quint32>{0});

    // A request made while the name has no owner waits for the restarted provider.
    std::optional<PowerAssertionReply> answer;
    assertion.requestNoDisplaySleepAssertion(
        QStringLiteral("Plimbo Keep Awake"),
        [&answer](const PowerAssertionReply& reply) { answer = reply; });
    test::RestartingScreenSaver second;
    ASSERT_TRUE(second.start(name));
    ASSERT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }, 5000));
    ASSERT_TRUE(answer->id.has_value()) << answer->detail.toStdString();
    EXPECT_EQ(second.current->active(), QSet<uint>{0});
    // Releasing the lost cookie 0 must not end the new provider's cookie 0.
    assertion.releaseAssertion(*answer->id);
    EXPECT_TRUE(QTest::qWaitFor([&] { return second.current->active().isEmpty(); }, 5000));
    EXPECT_EQ(lost.size(), 1);
}

TEST(ScreenSaverPowerAssertionRestart, WithoutAReturningProviderTheWaitingRequestHearsItIsMissing) {
    if (!test::FakeBusService::sessionBusIsAvailable()) {
        GTEST_SKIP() << "needs a D-Bus session bus";
    }
    test::RestartingScreenSaver only;
    ASSERT_TRUE(only.start());
    ScreenSaverPowerAssertion assertion(QDBusConnection::sessionBus(), only.serviceName());
    bool lost = false;
    assertion.setLostHandler([&lost](quint32) { lost = true; });
    ASSERT_TRUE(request(assertion)->id.has_value());
    only.crash();
    ASSERT_TRUE(QTest::qWaitFor([&] { return lost; }, 5000));
    const std::optional<PowerAssertionReply> reply = request(assertion);
    ASSERT_TRUE(reply.has_value());
    EXPECT_FALSE(reply->id.has_value());
    EXPECT_TRUE(reply->serviceMissing);
}
