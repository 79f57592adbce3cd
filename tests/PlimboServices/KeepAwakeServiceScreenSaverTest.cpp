// Keep-awake against a stand-in desktop screen saver on the session bus.
#include "KeepAwakeService.h"

#include "FakeBusTest.h"
#include "FakeScreenSaver.h"
#include "RestartingScreenSaver.h"
#include "ScreenSaverPowerAssertion.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QSignalSpy>
#include <QTest>

using namespace plimbo;

namespace {

class KeepAwakeServiceScreenSaverTest : public test::FakeBusTest<test::FakeScreenSaver> {
protected:
    KeepAwakeServiceScreenSaverTest()
        : FakeBusTest(QStringLiteral("KeepAwake"),
                      QString::fromLatin1(ScreenSaverPowerAssertion::objectPath)) {}

    std::unique_ptr<KeepAwakeService> makeService() {
        return std::make_unique<KeepAwakeService>(std::make_unique<ScreenSaverPowerAssertion>(
            QDBusConnection::sessionBus(), serviceName));
    }
};

} // namespace

TEST_F(KeepAwakeServiceScreenSaverTest, AnInhibitGrantedAfterThreeSecondsIsReleasedAtOnce) {
    fake->delayMs = 3000;
    ASSERT_TRUE(publishFake());
    auto service = makeService();
    QSignalSpy failures(service.get(), &KeepAwakeService::failed);

    service->toggle();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failures.isEmpty(); }, 2800));
    EXPECT_EQ(failures.constFirst().constFirst().toString(), KeepAwakeService::noAnswerMessage());
    EXPECT_FALSE(service->isKeepingAwake());
    ASSERT_EQ(fake->active().size(), 1) << "the desktop holds the inhibition it granted late";

    // The late cookie is handed back as soon as it arrives.
    ASSERT_TRUE(QTest::qWaitFor([&] { return fake->active().isEmpty(); }, 5000));
    EXPECT_EQ(fake->calls(), (QStringList{"Inhibit Plimbo|Plimbo Keep Awake -> 0", "UnInhibit 0"}));
    EXPECT_FALSE(service->isKeepingAwake());
}

TEST_F(KeepAwakeServiceScreenSaverTest, ALateCookieIsAdoptedWhenTheUserAskedAgain) {
    fake->delayMs = 3000;
    ASSERT_TRUE(publishFake());
    auto service = makeService();
    QSignalSpy failures(service.get(), &KeepAwakeService::failed);

    service->toggle();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failures.isEmpty(); }, 2800));
    service->toggle(); // "Keep Awake" is still offered, and the user takes it
    ASSERT_TRUE(QTest::qWaitFor([&] { return service->isKeepingAwake(); }, 3000));
    // The second request's cookie is surplus and goes back; the first one keeps the screen awake.
    ASSERT_TRUE(QTest::qWaitFor([&] { return fake->calls().contains("UnInhibit 1"); }, 5000));
    EXPECT_EQ(fake->active(), QSet<uint>{0});

    service->toggle(); // "Allow Sleep"
    EXPECT_FALSE(service->isKeepingAwake());
    EXPECT_TRUE(QTest::qWaitFor([&] { return fake->active().isEmpty(); }, 5000))
        << fake->calls().join(", ").toStdString();
}

TEST_F(KeepAwakeServiceScreenSaverTest, ASessionWithoutTheServiceSaysSo) {
    auto service = makeService(); // nothing published under the name
    QSignalSpy failures(service.get(), &KeepAwakeService::failed);
    service->toggle();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failures.isEmpty(); }, 1500));
    EXPECT_EQ(failures.constFirst().constFirst().toString(),
              KeepAwakeService::noInhibitServiceMessage());
    EXPECT_FALSE(service->isKeepingAwake());
}

TEST(KeepAwakeServiceRestartingScreenSaver, KeepAwakeFollowsTheScreenSaverThroughARestart) {
    if (!test::FakeBusService::sessionBusIsAvailable()) {
        GTEST_SKIP() << "needs a D-Bus session bus";
    }
    test::RestartingScreenSaver saver;
    ASSERT_TRUE(saver.start());
    const QString name = saver.serviceName();
    KeepAwakeService service(
        std::make_unique<ScreenSaverPowerAssertion>(QDBusConnection::sessionBus(), name));
    QSignalSpy failures(&service, &KeepAwakeService::failed);
    service.toggle();
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.isKeepingAwake(); }, 3000));

    saver.crash();
    ASSERT_TRUE(saver.start(name));
    ASSERT_TRUE(QTest::qWaitFor([&] { return saver.current->active().size() == 1; }, 5000))
        << "the restarted screen saver holds nothing from Plimbo";
    EXPECT_TRUE(service.isKeepingAwake());
    EXPECT_TRUE(failures.isEmpty());

    service.toggle();
    EXPECT_TRUE(QTest::qWaitFor([&] { return saver.current->active().isEmpty(); }, 5000));

    // Gone for good: keep-awake is shown off, with the reason.
    service.toggle();
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.isKeepingAwake(); }, 3000));
    saver.crash();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failures.isEmpty(); }, 5000));
    EXPECT_EQ(failures.constFirst().constFirst().toString(), KeepAwakeService::lostMessage());
    EXPECT_FALSE(service.isKeepingAwake());
}
