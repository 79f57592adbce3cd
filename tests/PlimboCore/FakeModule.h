#pragma once

#include "PlimboModule.h"

#include <QPromise>
#include <QStringList>

#include <deque>
#include <memory>

namespace plimbo::test {

// A module whose start, stop and health check either finish at once (autoComplete) or wait
// until the test completes them, oldest first. Every call is appended to a shared log as
// "<call>:<id>" so tests can check the order across modules.
class FakeModule : public PlimboModule {
public:
    FakeModule(const QString& id, const QString& name,
               std::shared_ptr<QStringList> log = std::make_shared<QStringList>());

    ModuleManifest manifest() const override { return m_manifest; }
    bool isRunning() const override { return m_running; }
    QFuture<void> start() override;
    QFuture<void> stop() override;
    QFuture<ModuleHealth> healthCheck() override;
    ModuleResourceSnapshot resourceUsageSnapshot() override;

    // Finish the oldest pending call; false when none is pending.
    bool completeStart();
    bool completeStop();
    bool completeHealth();
    bool cancelHealth();

    bool autoComplete = true;
    ModuleHealth health = ModuleHealth::healthy(QStringLiteral("Running"));
    ModuleResourceSnapshot snapshot{1, QStringLiteral("One task")};
    int startCalls = 0;
    int stopCalls = 0;
    int healthCalls = 0;
    int snapshotCalls = 0;
    std::shared_ptr<QStringList> log;

    std::size_t pendingStarts() const { return m_starts.size(); }
    std::size_t pendingStops() const { return m_stops.size(); }
    std::size_t pendingHealthChecks() const { return m_healthChecks.size(); }

private:
    ModuleManifest m_manifest;
    bool m_running = false;
    std::deque<std::unique_ptr<QPromise<void>>> m_starts;
    std::deque<std::unique_ptr<QPromise<void>>> m_stops;
    std::deque<std::unique_ptr<QPromise<ModuleHealth>>> m_healthChecks;
};

} // namespace plimbo::test
