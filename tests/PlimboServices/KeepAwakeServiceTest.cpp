#include "KeepAwakeService.h"

#include "FakePowerAssertion.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

using namespace plimbo;

namespace {

class KeepAwakeServiceTest : public testing::Test {
protected:
    std::shared_ptr<FakePowerAssertion::State> power =
        std::make_shared<FakePowerAssertion::State>();
    std::unique_ptr<KeepAwakeService> service =
        std::make_unique<KeepAwakeService>(std::make_unique<FakePowerAssertion>(power));
};

} // namespace

TEST_F(KeepAwakeServiceTest, ManifestDescribesTheKeepAwakeModule) {
    const ModuleManifest manifest = service->manifest();
    EXPECT_EQ(manifest.id, "keep-awake");
    EXPECT_EQ(manifest.name, "Keep Awake");
    EXPECT_EQ(manifest.summary, "Prevent idle display sleep until you switch it off.");
    EXPECT_EQ(manifest.symbol, "cup.and.heat.waves");
    EXPECT_EQ(manifest.capability, PlimboCapabilityStatus::available);
    EXPECT_TRUE(manifest.isPhaseOne);
    EXPECT_FALSE(service->isRunning());
    EXPECT_FALSE(service->isKeepingAwake());
}

TEST_F(KeepAwakeServiceTest, AnAssertionWithIdentifierZeroIsHeldAndReleased) {
    power->nextID = 0;
    QSignalSpy changes(service.get(), &KeepAwakeService::isKeepingAwakeChanged);
    EXPECT_TRUE(service->enable());
    EXPECT_TRUE(service->isKeepingAwake());
    EXPECT_TRUE(service->enable()) << "second enable";
    EXPECT_EQ(power->createCalls, 1);
    EXPECT_EQ(power->lastName, "Plimbo Keep Awake");

    service->disable();
    EXPECT_FALSE(service->isKeepingAwake());
    EXPECT_EQ(power->releaseCalls, 1);
    EXPECT_TRUE(power->held.isEmpty()) << "identifier 0 was not released";
    EXPECT_EQ(changes.size(), 2);

    service->disable();
    EXPECT_EQ(power->releaseCalls, 1);
}

TEST_F(KeepAwakeServiceTest, ARefusedAssertionLeavesKeepAwakeOff) {
    power->refuse = true;
    QSignalSpy changes(service.get(), &KeepAwakeService::isKeepingAwakeChanged);
    EXPECT_FALSE(service->enable());
    EXPECT_FALSE(service->isKeepingAwake());
    EXPECT_EQ(changes.size(), 0);
    service->disable();
    EXPECT_EQ(power->releaseCalls, 0);

    // Each attempt asks again; nothing is remembered from the refusal.
    power->refuse = false;
    service->toggle();
    EXPECT_TRUE(service->isKeepingAwake());
    EXPECT_EQ(power->createCalls, 2);
}

TEST_F(KeepAwakeServiceTest, ToggleWorksOnAStoppedModuleAndStopReleases) {
    service->toggle();
    EXPECT_TRUE(service->isKeepingAwake());
    EXPECT_EQ(service->healthCheck().result(), ModuleHealth::stopped());
    EXPECT_EQ(service->resourceUsageSnapshot(),
              (ModuleResourceSnapshot{0, QStringLiteral("Power assertion active")}));

    service->start();
    EXPECT_EQ(service->healthCheck().result(), ModuleHealth::healthy("Keeping computer awake"));
    service->stop();
    EXPECT_FALSE(service->isRunning());
    EXPECT_FALSE(service->isKeepingAwake());
    EXPECT_TRUE(power->held.isEmpty());
}

TEST_F(KeepAwakeServiceTest, StartingTakesNoAssertion) {
    QSignalSpy running(service.get(), &KeepAwakeService::isRunningChanged);
    service->start();
    service->start();
    EXPECT_EQ(running.size(), 1);
    EXPECT_TRUE(service->isRunning());
    EXPECT_FALSE(service->isKeepingAwake());
    EXPECT_EQ(power->createCalls, 0);
    EXPECT_EQ(service->healthCheck().result(), ModuleHealth::healthy("Ready"));
    EXPECT_EQ(service->resourceUsageSnapshot(),
              (ModuleResourceSnapshot{0, QStringLiteral("Dormant")}));
}

TEST_F(KeepAwakeServiceTest, DestroyingTheServiceReleasesAHeldAssertion) {
    service->enable();
    ASSERT_EQ(power->held.size(), 1);
    service.reset();
    EXPECT_TRUE(power->held.isEmpty());
}

namespace {

// The desktop answers only when the test says so.
class KeepAwakeServiceSlowDesktopTest : public testing::Test {
protected:
    KeepAwakeServiceSlowDesktopTest() { power->holdReplies = true; }

    bool answer() { return FakePowerAssertion::answerWaiting(*power); }
    // Lets the answer timeout pass.
    bool waitForFailure(QSignalSpy& failures) {
        return QTest::qWaitFor([&] { return !failures.isEmpty(); }, 3000);
    }

    std::shared_ptr<FakePowerAssertion::State> power =
        std::make_shared<FakePowerAssertion::State>();
    std::unique_ptr<KeepAwakeService> service = std::make_unique<KeepAwakeService>(
        std::make_unique<FakePowerAssertion>(power), std::chrono::milliseconds(50));
};

} // namespace

TEST_F(KeepAwakeServiceSlowDesktopTest, AGrantWithinTheTimeTurnsKeepAwakeOn) {
    QSignalSpy failures(service.get(), &KeepAwakeService::failed);
    EXPECT_FALSE(service->enable()) << "nothing is held before the desktop answers";
    EXPECT_FALSE(service->isKeepingAwake());
    service->toggle(); // asking again while the answer is on its way sends nothing new
    EXPECT_EQ(power->createCalls, 1);
    ASSERT_TRUE(answer());
    EXPECT_TRUE(service->isKeepingAwake());
    QTest::qWait(150);
    EXPECT_TRUE(failures.isEmpty()) << "the timeout was not stopped";
}

TEST_F(KeepAwakeServiceSlowDesktopTest, AGrantAfterTheTimeoutIsReleasedAtOnce) {
    QSignalSpy failures(service.get(), &KeepAwakeService::failed);
    QSignalSpy changes(service.get(), &KeepAwakeService::isKeepingAwakeChanged);
    service->toggle();
    ASSERT_TRUE(waitForFailure(failures));
    EXPECT_EQ(failures.constFirst().constFirst().toString(), KeepAwakeService::noAnswerMessage());
    EXPECT_FALSE(service->isKeepingAwake());

    ASSERT_TRUE(answer());
    EXPECT_TRUE(power->held.isEmpty()) << "the late grant keeps the screen awake";
    EXPECT_EQ(power->releaseCalls, 1);
    EXPECT_FALSE(service->isKeepingAwake());
    EXPECT_EQ(changes.size(), 0);
    EXPECT_EQ(failures.size(), 1);
}

TEST_F(KeepAwakeServiceSlowDesktopTest, ALateGrantIsKeptWhenTheUserAskedAgainMeanwhile) {
    QSignalSpy failures(service.get(), &KeepAwakeService::failed);
    service->toggle();
    ASSERT_TRUE(waitForFailure(failures));
    service->toggle(); // asks again: a second request
    EXPECT_EQ(power->createCalls, 2);

    ASSERT_TRUE(answer()); // the first, late: adopted
    EXPECT_TRUE(service->isKeepingAwake());
    ASSERT_TRUE(answer()); // the second: one is held already
    EXPECT_EQ(power->held.size(), 1);
    EXPECT_EQ(power->releaseCalls, 1);

    service->toggle();
    EXPECT_FALSE(service->isKeepingAwake());
    EXPECT_TRUE(power->held.isEmpty());
}

TEST_F(KeepAwakeServiceSlowDesktopTest, StoppingWhileWaitingReleasesTheGrantWhenItComes) {
    service->toggle();
    service->stop();
    ASSERT_TRUE(answer());
    EXPECT_FALSE(service->isKeepingAwake());
    EXPECT_TRUE(power->held.isEmpty());
}

TEST_F(KeepAwakeServiceSlowDesktopTest, ARefusalInTimeIsReportedOnceAndALateOneNotAtAll) {
    QSignalSpy failures(service.get(), &KeepAwakeService::failed);
    power->refuse = true;
    power->serviceMissing = true;
    service->toggle();
    ASSERT_TRUE(answer());
    ASSERT_EQ(failures.size(), 1);
    EXPECT_EQ(failures.constFirst().constFirst().toString(),
              KeepAwakeService::noInhibitServiceMessage());

    power->serviceMissing = false;
    service->toggle();
    ASSERT_TRUE(QTest::qWaitFor([&] { return failures.size() == 2; }, 3000));
    ASSERT_TRUE(answer());
    EXPECT_EQ(failures.size(), 2) << "a late refusal was reported again";
    EXPECT_FALSE(service->isKeepingAwake());
}

TEST_F(KeepAwakeServiceSlowDesktopTest, AnAnswerAfterTheServiceIsGoneIsIgnored) {
    service->toggle();
    service.reset();
    EXPECT_TRUE(answer()); // must not reach the destroyed service
}

TEST_F(KeepAwakeServiceSlowDesktopTest, ALostAssertionIsAskedForAgainAndStaysOnWhenGranted) {
    QSignalSpy failures(service.get(), &KeepAwakeService::failed);
    QSignalSpy changes(service.get(), &KeepAwakeService::isKeepingAwakeChanged);
    service->toggle();
    ASSERT_TRUE(answer());
    ASSERT_TRUE(service->isKeepingAwake());

    ASSERT_TRUE(FakePowerAssertion::loseHeld(*power));
    EXPECT_EQ(power->createCalls, 2) << "the new provider was not asked";
    EXPECT_TRUE(service->isKeepingAwake());
    ASSERT_TRUE(answer());
    EXPECT_TRUE(service->isKeepingAwake());
    EXPECT_EQ(power->held.size(), 1);
    EXPECT_EQ(changes.size(), 1) << "keep-awake flickered";
    EXPECT_TRUE(failures.isEmpty());
    EXPECT_EQ(power->releaseCalls, 0) << "a lost assertion is not released";

    service->toggle();
    EXPECT_FALSE(service->isKeepingAwake());
    EXPECT_TRUE(power->held.isEmpty());
}

TEST_F(KeepAwakeServiceSlowDesktopTest, ALostAssertionThatCannotBeRetakenShowsOffWithTheReason) {
    QSignalSpy failures(service.get(), &KeepAwakeService::failed);
    service->toggle();
    ASSERT_TRUE(answer());
    power->refuse = true;
    power->serviceMissing = true;
    ASSERT_TRUE(FakePowerAssertion::loseHeld(*power));
    ASSERT_TRUE(answer());
    EXPECT_FALSE(service->isKeepingAwake());
    ASSERT_EQ(failures.size(), 1);
    EXPECT_EQ(failures.constFirst().constFirst().toString(), KeepAwakeService::lostMessage());

    // Silence from the new provider turns it off too.
    power->refuse = false;
    service->toggle();
    ASSERT_TRUE(answer());
    ASSERT_TRUE(FakePowerAssertion::loseHeld(*power));
    ASSERT_TRUE(QTest::qWaitFor([&] { return failures.size() == 2; }, 3000));
    EXPECT_EQ(failures.last().constFirst().toString(), KeepAwakeService::lostMessage());
    EXPECT_FALSE(service->isKeepingAwake());
    // Its late grant is handed back.
    ASSERT_TRUE(answer());
    EXPECT_TRUE(power->held.isEmpty());
}

TEST_F(KeepAwakeServiceSlowDesktopTest, SwitchingOffWhileALostAssertionIsAskedForEndsIt) {
    service->toggle();
    ASSERT_TRUE(answer());
    ASSERT_TRUE(FakePowerAssertion::loseHeld(*power));
    service->toggle(); // "Allow Sleep", still offered
    EXPECT_FALSE(service->isKeepingAwake());
    ASSERT_TRUE(answer());
    EXPECT_FALSE(service->isKeepingAwake());
    EXPECT_TRUE(power->held.isEmpty());
}
