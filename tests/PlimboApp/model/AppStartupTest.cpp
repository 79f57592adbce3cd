#include "ModelFeatures.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class AppStartupTest : public ::testing::Test {
protected:
    // The features of a run with these switches, after their start-up.
    std::unique_ptr<ModelFeatures> started(const QStringList& switches = {}) {
        h.arguments += switches;
        auto features = std::make_unique<ModelFeatures>(h);
        QFuture<void> done = features->startup.start();
        EXPECT_TRUE(settle([&] { return done.isFinished(); }));
        return features;
    }

    AppModelHarness h;
};

TEST_F(AppStartupTest, StartRunsOnce) {
    auto features = started();
    EXPECT_EQ(h.surfaces->builds, 8);
    EXPECT_EQ(h.hotKeys->registerCalls, 3);

    QFuture<void> again = features->startup.start();
    EXPECT_TRUE(again.isFinished());
    EXPECT_EQ(h.surfaces->builds, 8);
    EXPECT_EQ(h.hotKeys->registerCalls, 3);
}

TEST_F(AppStartupTest, EnabledModulesStartInOrderAndTheHealthLoopRepeats) {
    h.healthInterval = std::chrono::milliseconds(30);
    h.settings->setValue(ModuleRegistry::enabledKey(QStringLiteral("keep-awake")), false);
    auto features = started();
    AppModelDependencies& services = features->deps;
    ASSERT_TRUE(settle(
        [&] { return services.launcher->isRunning() && services.systemMonitor->isRunning(); }));
    EXPECT_TRUE(services.clipboard->isRunning());
    EXPECT_FALSE(services.keepAwake->isRunning());

    // The loop reads each enabled module's health again and again.
    ModuleRegistry& registry = features->registry;
    QSignalSpy records(&registry, &ModuleRegistry::recordsChanged);
    registry.setEnabled(true, QStringLiteral("keep-awake"));
    ASSERT_TRUE(settle([&] { return services.keepAwake->isRunning(); }));
    const auto keepAwakeHealth = [&] {
        for (const ModuleRecord& record : registry.records()) {
            if (record.id() == "keep-awake") {
                return record.health.label();
            }
        }
        return QString();
    };
    const QString before = keepAwakeHealth();
    services.keepAwake->toggle();
    ASSERT_TRUE(settle([&] { return keepAwakeHealth() != before; }));
}

// A module switched off while the ones before it are still starting is not started.
TEST_F(AppStartupTest, AModuleSwitchedOffDuringStartUpStaysOff) {
    h.folders->holdNextScan(); // the launcher's start waits for its index
    auto features = started();
    ASSERT_TRUE(h.folders->waitUntilScanHeld());
    features->registry.setEnabled(false, QStringLiteral("system-monitor"));
    h.folders->releaseHeldScans();
    ASSERT_TRUE(settle([&] { return features->deps.launcher->isRunning(); }));
    spin(50);
    EXPECT_FALSE(features->deps.systemMonitor->isRunning());
    EXPECT_EQ(h.settings->boolValue(ModuleRegistry::enabledKey("system-monitor")), false);
}

TEST_F(AppStartupTest, MiniAIPreviewsBuildOnlyThePanel) {
    auto features = started({"--show-mini-ai-preview"});
    EXPECT_EQ(h.surfaces->builds, 1);
    EXPECT_NE(features->windows.miniAI(), nullptr);
    EXPECT_TRUE(h.surfaces->mini->visible);
    EXPECT_EQ(h.hotKeys->registerCalls, 0);
    EXPECT_TRUE(features->shortcuts.registeredShortcuts().isEmpty());
    // The modules still start.
    ASSERT_TRUE(settle([&] { return features->deps.clipboard->isRunning(); }));
}

TEST_F(AppStartupTest, TheKeyringIsNotReadInPreviewRuns) {
    h.storeKey("key");
    ModelFeatures plain(h);
    plain.startup.readCredentialFlag();
    EXPECT_TRUE(settle([&] { return plain.startup.credentialIsStored(); }));
    const int calls = h.secrets->calls();
    h.arguments << "--show-anything";
    ModelFeatures preview(h);
    preview.startup.readCredentialFlag();
    EXPECT_FALSE(preview.startup.credentialIsStored());
    EXPECT_EQ(h.secrets->calls(), calls);
}

} // namespace
