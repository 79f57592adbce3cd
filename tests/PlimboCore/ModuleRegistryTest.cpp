#include "ModuleRegistry.h"
#include "FakeModule.h"
#include "InMemorySettingsStore.h"
#include "QSettingsStore.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace plimbo;
using plimbo::test::FakeModule;

namespace {

class ModuleRegistryTest : public ::testing::Test {
protected:
    std::shared_ptr<FakeModule> make(const QString& id, const QString& name, bool manual = false) {
        auto module = std::make_shared<FakeModule>(id, name, log);
        module->autoComplete = !manual;
        return module;
    }

    static QStringList ids(const ModuleRegistry& registry) {
        QStringList result;
        for (const ModuleRecord& record : registry.records()) {
            result.append(record.id());
        }
        return result;
    }

    static ModuleRecord recordOf(const ModuleRegistry& registry, const QString& id) {
        for (const ModuleRecord& record : registry.records()) {
            if (record.id() == id) {
                return record;
            }
        }
        ADD_FAILURE() << "no record " << id.toStdString();
        return {};
    }

    InMemorySettingsStore store;
    std::shared_ptr<QStringList> log = std::make_shared<QStringList>();
};

TEST_F(ModuleRegistryTest, KeepsRecordsSortedByNameIgnoringCaseAndStable) {
    ModuleRegistry registry(store);
    registry.registerModule(make("b", "beta"), true);
    registry.registerModule(make("A1", "Alpha"), true);
    registry.registerModule(make("a2", "alpha"), true);
    EXPECT_EQ(ids(registry), (QStringList{"A1", "a2", "b"}));

    ModuleRegistry four(store);
    four.registerModule(make("launcher", "Launcher"), true);
    four.registerModule(make("clipboard", "Clipboard"), true);
    four.registerModule(make("keep-awake", "Keep Awake"), true);
    four.registerModule(make("system-monitor", "System Monitor"), true);
    EXPECT_EQ(ids(four), (QStringList{"clipboard", "keep-awake", "launcher", "system-monitor"}));
}

TEST_F(ModuleRegistryTest, NewRecordsAreStoppedAndIdleAndEachChangeNotifies) {
    ModuleRegistry registry(store);
    QSignalSpy changed(&registry, &ModuleRegistry::recordsChanged);
    registry.registerModule(make("b", "beta"), true);
    EXPECT_EQ(changed.count(), 1);
    registry.registerModule(make("a", "alpha"), false); // append, then a reordering
    EXPECT_EQ(changed.count(), 3);
    registry.registerModule(make("c", "gamma"), true); // append only
    EXPECT_EQ(changed.count(), 4);

    const ModuleRecord alpha = recordOf(registry, "a");
    EXPECT_FALSE(alpha.isEnabled);
    EXPECT_EQ(alpha.health, ModuleHealth::stopped());
    EXPECT_EQ(alpha.resourceUsage, (ModuleResourceSnapshot{0, "Idle"}));
    EXPECT_EQ(alpha.manifest.name, "alpha");

    const auto viaProperty = registry.property("records").value<QList<ModuleRecord>>();
    EXPECT_EQ(viaProperty, registry.records());
    EXPECT_TRUE(store.values().isEmpty()) << "registering must not write the defaults";
}

TEST_F(ModuleRegistryTest, SecondModuleWithSameIdIsDroppedAndNeverStarted) {
    ModuleRegistry registry(store);
    auto first = make("clipboard", "Clipboard");
    auto second = make("clipboard", "Another name");
    registry.registerModule(first, true);
    QSignalSpy changed(&registry, &ModuleRegistry::recordsChanged);
    registry.registerModule(second, true);
    EXPECT_EQ(changed.count(), 0);
    ASSERT_EQ(registry.records().size(), 1);
    EXPECT_EQ(registry.records().first().manifest.name, "Clipboard");

    ASSERT_TRUE(test::waitFor(registry.startEnabledModules()));
    ASSERT_TRUE(test::waitFor(registry.setEnabled(true, "clipboard")));
    EXPECT_EQ(first->startCalls, 2);
    EXPECT_EQ(second->startCalls, 0);
    EXPECT_EQ(second->healthCalls, 0);
}

TEST_F(ModuleRegistryTest, SwitchIsStoredAndReadByTheNextRegistry) {
    {
        ModuleRegistry registry(store);
        registry.registerModule(make("launcher", "Launcher"), false);
        EXPECT_FALSE(recordOf(registry, "launcher").isEnabled);
        ASSERT_TRUE(test::waitFor(registry.setEnabled(true, "launcher")));
        EXPECT_EQ(store.boolValue("modules.launcher.enabled"), true);
    }
    ModuleRegistry next(store);
    next.registerModule(make("launcher", "Launcher"), false);
    EXPECT_TRUE(recordOf(next, "launcher").isEnabled);

    store.setValue("modules.clipboard.enabled", false);
    next.registerModule(make("clipboard", "Clipboard"), true);
    EXPECT_FALSE(recordOf(next, "clipboard").isEnabled) << "stored false beats the default";
}

TEST_F(ModuleRegistryTest, UnknownIdIsIgnoredAndWritesNothing) {
    ModuleRegistry registry(store);
    registry.registerModule(make("a", "Alpha"), true);
    QSignalSpy changed(&registry, &ModuleRegistry::recordsChanged);
    QFuture<void> on = registry.setEnabled(true, "nope");
    QFuture<void> off = registry.setEnabled(false, "nope");
    EXPECT_TRUE(on.isFinished());
    EXPECT_TRUE(off.isFinished());
    EXPECT_FALSE(store.contains("modules.nope.enabled"));
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(ModuleRegistryTest, StoredValuesThatAreNotBooleansFallBackToTheDefault) {
    store.setValue("modules.one.enabled", QStringLiteral("1"));
    store.setValue("modules.yes.enabled", QStringLiteral("yes"));
    store.setValue("modules.number.enabled", 0);
    store.setValue("modules.upper.enabled", QStringLiteral("FALSE"));
    store.setValue("modules.text.enabled", QStringLiteral("false"));
    ModuleRegistry registry(store);
    registry.registerModule(make("one", "One"), false);
    registry.registerModule(make("yes", "Yes"), false);
    registry.registerModule(make("number", "Number"), true);
    registry.registerModule(make("upper", "Upper"), true);
    registry.registerModule(make("text", "Text"), true);
    EXPECT_FALSE(recordOf(registry, "one").isEnabled);
    EXPECT_FALSE(recordOf(registry, "yes").isEnabled);
    EXPECT_TRUE(recordOf(registry, "number").isEnabled);
    EXPECT_TRUE(recordOf(registry, "upper").isEnabled);
    EXPECT_FALSE(recordOf(registry, "text").isEnabled);
}

TEST_F(ModuleRegistryTest, SwitchesPersistInTheIniFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Plimbo.conf");
    ASSERT_TRUE(test::writeFile(path, "[General]\nmodules.clipboard.enabled=false\n"
                                      "modules.launcher.enabled=true\n"
                                      "modules.keep-awake.enabled=1\n"));
    QSettingsStore settings(path);
    ModuleRegistry registry(settings);
    registry.registerModule(make("clipboard", "Clipboard"), true);
    registry.registerModule(make("launcher", "Launcher"), false);
    registry.registerModule(make("keep-awake", "Keep Awake"), false);
    EXPECT_FALSE(recordOf(registry, "clipboard").isEnabled);
    EXPECT_TRUE(recordOf(registry, "launcher").isEnabled);
    EXPECT_FALSE(recordOf(registry, "keep-awake").isEnabled);

    ASSERT_TRUE(test::waitFor(registry.setEnabled(true, "clipboard")));
    EXPECT_TRUE(test::readFile(path).contains("modules.clipboard.enabled=true"));
    QSettingsStore reread(path);
    EXPECT_EQ(reread.boolValue("modules.clipboard.enabled"), true);
}

TEST_F(ModuleRegistryTest, StartsEnabledModulesOneAfterAnotherInNameOrder) {
    ModuleRegistry registry(store);
    auto b = make("b", "Bravo", true);
    auto a = make("a", "Alpha", true);
    auto c = make("c", "Charlie", true);
    registry.registerModule(b, true);
    registry.registerModule(c, false);
    registry.registerModule(a, true);
    a->health = ModuleHealth::needsAttention("Check me");
    a->snapshot = {3, "Three tasks"};

    QFuture<void> done = registry.startEnabledModules();
    EXPECT_EQ(recordOf(registry, "a").health, ModuleHealth::starting());
    EXPECT_EQ(b->startCalls, 0);

    ASSERT_TRUE(a->completeStart());
    EXPECT_EQ(a->healthCalls, 1);
    EXPECT_EQ(b->startCalls, 0) << "the next start waits for the health check";
    ASSERT_TRUE(a->completeHealth());
    EXPECT_EQ(recordOf(registry, "a").health, ModuleHealth::needsAttention("Check me"));
    EXPECT_EQ(recordOf(registry, "a").resourceUsage, (ModuleResourceSnapshot{3, "Three tasks"}));
    EXPECT_EQ(b->startCalls, 1);
    EXPECT_FALSE(done.isFinished());

    ASSERT_TRUE(b->completeStart());
    ASSERT_TRUE(b->completeHealth());
    EXPECT_TRUE(test::waitFor(done));
    EXPECT_EQ(c->startCalls, 0);
    EXPECT_EQ(recordOf(registry, "c").health, ModuleHealth::stopped());
    EXPECT_EQ(*log, (QStringList{"start:a", "health:a", "start:b", "health:b"}));

    ModuleRegistry empty(store);
    EXPECT_TRUE(empty.startEnabledModules().isFinished());
}

TEST_F(ModuleRegistryTest, ModuleSwitchedOffDuringStartUpIsNotStarted) {
    ModuleRegistry registry(store);
    auto a = make("a", "Alpha", true);
    auto b = make("b", "Bravo");
    registry.registerModule(a, true);
    registry.registerModule(b, true);

    QFuture<void> done = registry.startEnabledModules();
    ASSERT_TRUE(test::waitFor(registry.setEnabled(false, "b")));
    ASSERT_TRUE(a->completeStart());
    ASSERT_TRUE(a->completeHealth());
    ASSERT_TRUE(test::waitFor(done));
    EXPECT_EQ(b->startCalls, 0);
    EXPECT_EQ(recordOf(registry, "b").health, ModuleHealth::stopped());
}

TEST_F(ModuleRegistryTest, ModuleSwitchedOnDuringStartUpIsStartedOnlyByItsSwitch) {
    ModuleRegistry registry(store);
    auto a = make("a", "Alpha", true);
    auto c = make("c", "Charlie");
    registry.registerModule(a, true);
    registry.registerModule(c, false);

    QFuture<void> done = registry.startEnabledModules();
    ASSERT_TRUE(test::waitFor(registry.setEnabled(true, "c")));
    ASSERT_TRUE(a->completeStart());
    ASSERT_TRUE(a->completeHealth());
    ASSERT_TRUE(test::waitFor(done));
    EXPECT_EQ(c->startCalls, 1);
    EXPECT_EQ(recordOf(registry, "c").health, ModuleHealth::healthy("Running"));
}

TEST_F(ModuleRegistryTest, SwitchingOffMarksStoppedOnlyAfterStopReturned) {
    ModuleRegistry registry(store);
    auto a = make("a", "Alpha");
    registry.registerModule(a, true);
    ASSERT_TRUE(test::waitFor(registry.startEnabledModules()));
    EXPECT_EQ(recordOf(registry, "a").health, ModuleHealth::healthy("Running"));

    a->autoComplete = false;
    QFuture<void> off = registry.setEnabled(false, "a");
    EXPECT_FALSE(recordOf(registry, "a").isEnabled);
    EXPECT_EQ(store.boolValue("modules.a.enabled"), false);
    EXPECT_EQ(recordOf(registry, "a").health, ModuleHealth::healthy("Running"));
    EXPECT_FALSE(off.isFinished());

    ASSERT_TRUE(a->completeStop());
    ASSERT_TRUE(test::waitFor(off));
    EXPECT_EQ(recordOf(registry, "a").health, ModuleHealth::stopped());
    EXPECT_EQ(recordOf(registry, "a").resourceUsage, ModuleResourceSnapshot::idle());

    // The switch is not compared with its old value.
    a->autoComplete = true;
    ASSERT_TRUE(test::waitFor(registry.setEnabled(false, "a")));
    EXPECT_EQ(a->stopCalls, 2);
    ASSERT_TRUE(test::waitFor(registry.setEnabled(true, "a")));
    ASSERT_TRUE(test::waitFor(registry.setEnabled(true, "a")));
    EXPECT_EQ(a->startCalls, 3);
}

TEST_F(ModuleRegistryTest, StartFinishingAfterSwitchOffLeavesStopped) {
    ModuleRegistry registry(store);
    auto a = make("a", "Alpha", true);
    registry.registerModule(a, false);

    QFuture<void> on = registry.setEnabled(true, "a");
    EXPECT_EQ(recordOf(registry, "a").health, ModuleHealth::starting());
    QFuture<void> off = registry.setEnabled(false, "a");
    ASSERT_TRUE(a->completeStop());
    ASSERT_TRUE(test::waitFor(off));
    EXPECT_EQ(recordOf(registry, "a").health, ModuleHealth::stopped());

    ASSERT_TRUE(a->completeStart());
    ASSERT_TRUE(test::waitFor(on));
    EXPECT_EQ(a->healthCalls, 0);
    EXPECT_EQ(recordOf(registry, "a").health, ModuleHealth::stopped());
    EXPECT_EQ(recordOf(registry, "a").resourceUsage, ModuleResourceSnapshot::idle());
}

TEST_F(ModuleRegistryTest, HealthCheckFinishingAfterSwitchOffLeavesStopped) {
    ModuleRegistry registry(store);
    auto a = make("a", "Alpha", true);
    registry.registerModule(a, false);

    // A start's own health check.
    QFuture<void> on = registry.setEnabled(true, "a");
    ASSERT_TRUE(a->completeStart());
    ASSERT_EQ(a->pendingHealthChecks(), 1u);
    a->autoComplete = true;
    ASSERT_TRUE(test::waitFor(registry.setEnabled(false, "a")));
    a->autoComplete = false;
    ASSERT_TRUE(a->completeHealth());
    ASSERT_TRUE(test::waitFor(on));
    EXPECT_EQ(recordOf(registry, "a").health, ModuleHealth::stopped());
    EXPECT_EQ(a->snapshotCalls, 0);

    // A refresh's health check.
    a->autoComplete = true;
    ASSERT_TRUE(test::waitFor(registry.setEnabled(true, "a")));
    a->autoComplete = false;
    QFuture<void> refresh = registry.refreshHealth();
    a->autoComplete = true;
    ASSERT_TRUE(test::waitFor(registry.setEnabled(false, "a")));
    a->autoComplete = false;
    a->health = ModuleHealth::healthy("Late");
    ASSERT_TRUE(a->completeHealth());
    ASSERT_TRUE(test::waitFor(refresh));
    EXPECT_EQ(recordOf(registry, "a").health, ModuleHealth::stopped());
    EXPECT_EQ(recordOf(registry, "a").resourceUsage, ModuleResourceSnapshot::idle());
}

TEST_F(ModuleRegistryTest, StopFinishingAfterSwitchBackOnDoesNotMarkStopped) {
    ModuleRegistry registry(store);
    auto a = make("a", "Alpha", true);
    registry.registerModule(a, true);

    QFuture<void> off = registry.setEnabled(false, "a");
    QFuture<void> on = registry.setEnabled(true, "a");
    EXPECT_EQ(recordOf(registry, "a").health, ModuleHealth::starting());
    ASSERT_TRUE(a->completeStop());
    ASSERT_TRUE(test::waitFor(off));
    EXPECT_EQ(recordOf(registry, "a").health, ModuleHealth::starting());
    ASSERT_TRUE(a->completeStart());
    ASSERT_TRUE(a->completeHealth());
    ASSERT_TRUE(test::waitFor(on));
    EXPECT_EQ(recordOf(registry, "a").health, ModuleHealth::healthy("Running"));
    EXPECT_TRUE(recordOf(registry, "a").isEnabled);
}

TEST_F(ModuleRegistryTest, RefreshPollsEnabledModulesOneAfterAnother) {
    ModuleRegistry registry(store);
    auto a = make("a", "Alpha");
    auto b = make("b", "Bravo");
    auto c = make("c", "Charlie");
    registry.registerModule(a, true);
    registry.registerModule(b, false);
    registry.registerModule(c, true);
    ASSERT_TRUE(test::waitFor(registry.startEnabledModules()));
    log->clear();

    a->autoComplete = c->autoComplete = false;
    a->health = ModuleHealth::unavailable("Gone");
    a->snapshot = {0, "Nothing"};
    c->health = ModuleHealth::healthy("Fine");
    QFuture<void> refresh = registry.refreshHealth();
    EXPECT_EQ(c->healthCalls, 1) << "only the start-up check so far";
    ASSERT_TRUE(a->completeHealth());
    EXPECT_EQ(c->healthCalls, 2);
    ASSERT_TRUE(c->completeHealth());
    ASSERT_TRUE(test::waitFor(refresh));

    EXPECT_EQ(*log, (QStringList{"health:a", "health:c"}));
    EXPECT_EQ(b->healthCalls, 0);
    EXPECT_EQ(recordOf(registry, "a").health, ModuleHealth::unavailable("Gone"));
    EXPECT_EQ(recordOf(registry, "a").resourceUsage, (ModuleResourceSnapshot{0, "Nothing"}));
    EXPECT_EQ(recordOf(registry, "b").health, ModuleHealth::stopped());
    EXPECT_EQ(recordOf(registry, "c").health, ModuleHealth::healthy("Fine"));
}

TEST_F(ModuleRegistryTest, CancelledHealthCheckKeepsLastHealthAndFinishes) {
    ModuleRegistry registry(store);
    auto a = make("a", "Alpha");
    auto b = make("b", "Bravo");
    registry.registerModule(a, true);
    registry.registerModule(b, true);
    ASSERT_TRUE(test::waitFor(registry.startEnabledModules()));

    a->autoComplete = false;
    QFuture<void> refresh = registry.refreshHealth();
    ASSERT_TRUE(a->cancelHealth());
    ASSERT_TRUE(test::waitFor(refresh));
    EXPECT_EQ(recordOf(registry, "a").health, ModuleHealth::healthy("Running"));
    EXPECT_EQ(b->healthCalls, 2) << "the refresh goes on to the next module";
}

TEST_F(ModuleRegistryTest, DestroyedRegistryAbandonsPendingWork) {
    auto a = make("a", "Alpha", true);
    QFuture<void> done;
    {
        ModuleRegistry registry(store);
        registry.registerModule(a, true);
        done = registry.startEnabledModules();
    }
    ASSERT_TRUE(a->completeStart());
    EXPECT_TRUE(test::waitFor(done));
    EXPECT_EQ(a->healthCalls, 0);
}

} // namespace
