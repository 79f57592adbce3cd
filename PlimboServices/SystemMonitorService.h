#pragma once

#include "CoalescedTimer.h"
#include "HostStatistics.h"
#include "PlimboModule.h"
#include "ReadyHealth.h"
#include "SystemSnapshot.h"

#include <QObject>

#include <chrono>
#include <memory>
#include <optional>

namespace plimbo {

// Samples CPU load, memory use, uptime and thermal state every 2 seconds and publishes the
// latest sample. A module: start() samples at once and starts the timer, stop() stops it and
// keeps the last sample.
class SystemMonitorService : public QObject, public PlimboModule {
    Q_OBJECT
    Q_PROPERTY(plimbo::SystemSnapshot snapshot READ snapshot NOTIFY snapshotChanged)
    Q_PROPERTY(bool isRunning READ isRunning NOTIFY isRunningChanged)

public:
    static constexpr std::chrono::milliseconds DefaultInterval{2000};
    // Longer than any machine has been up; larger readings are junk.
    static constexpr double MaxUptime = 100.0 * 365.25 * 24 * 3600;

    // statistics: where the figures come from; /proc and /sys when null.
    explicit SystemMonitorService(std::shared_ptr<HostStatistics> statistics = nullptr,
                                  QObject* parent = nullptr);
    ~SystemMonitorService() override;

    // For tests; takes effect at the next start.
    void setSampleInterval(std::chrono::milliseconds interval);

    ModuleManifest manifest() const override;
    bool isRunning() const override { return m_running; }
    QFuture<void> start() override;
    QFuture<void> stop() override;
    QFuture<ModuleHealth> healthCheck() override;
    ModuleResourceSnapshot resourceUsageSnapshot() override;

    SystemSnapshot snapshot() const { return m_snapshot; }

    // "Nominal", "Fair", "Serious", "Critical", "Unknown".
    static QString thermalStateText(ThermalLevel level);
    // The CPU share between two readings; none when the counters did not move forward (first
    // sample, failed read, counter wrap), in which case the previous figure stays.
    static std::optional<double> cpuUsage(CpuTicks previous, CpuTicks current);

signals:
    void snapshotChanged();
    void isRunningChanged();

private:
    void update();

    std::shared_ptr<HostStatistics> m_statistics;
    SystemSnapshot m_snapshot;
    bool m_running = false;
    CoalescedTimer m_timer;
    std::optional<CpuTicks> m_previousTicks;
    ReadyHealth m_readyHealth;
};

} // namespace plimbo
