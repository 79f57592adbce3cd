#include "KeepAwakeService.h"

#include "FakePowerAssertion.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

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
    power->nextId = 0;
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
