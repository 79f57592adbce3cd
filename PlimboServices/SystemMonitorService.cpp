#include "SystemMonitorService.h"

#include "ProcHostStatistics.h"

#include <algorithm>
#include <cmath>

namespace plimbo {

SystemMonitorService::SystemMonitorService(std::shared_ptr<HostStatistics> statistics,
                                           QObject* parent)
    : QObject(parent)
    , m_statistics(statistics ? std::move(statistics) : std::make_shared<ProcHostStatistics>()) {
    m_timer.setInterval(DefaultInterval);
    // Shares its wake-ups with the program's other periodic work (the clipboard poll).
    connect(&m_timer, &CoalescedTimer::timeout, this, &SystemMonitorService::update);
}

SystemMonitorService::~SystemMonitorService() = default;

void SystemMonitorService::setSampleInterval(std::chrono::milliseconds interval) {
    m_timer.setInterval(interval);
}

ModuleManifest SystemMonitorService::manifest() const {
    return {QStringLiteral("system-monitor"),
            QStringLiteral("System Monitor"),
            QStringLiteral("A low-overhead view of CPU, memory, uptime, and thermal state."),
            QStringLiteral("waveform.path.ecg"),
            PlimboCapabilityStatus::available,
            true};
}

QFuture<void> SystemMonitorService::start() {
    if (!m_running) {
        m_running = true;
        emit isRunningChanged();
        update();
        m_timer.start();
    }
    return QtFuture::makeReadyFuture();
}

QFuture<void> SystemMonitorService::stop() {
    m_timer.stop();
    if (m_running) {
        m_running = false;
        emit isRunningChanged();
    }
    return QtFuture::makeReadyFuture();
}

QFuture<ModuleHealth> SystemMonitorService::healthCheck() {
    return m_readyHealth(m_running ? ModuleHealth::healthy(QStringLiteral("Live every 2 seconds"))
                                   : ModuleHealth::stopped());
}

ModuleResourceSnapshot SystemMonitorService::resourceUsageSnapshot() {
    return {m_timer.isActive() ? 1 : 0,
            m_running ? QStringLiteral("Adaptive sampler") : QStringLiteral("Dormant")};
}

QString SystemMonitorService::thermalStateText(ThermalLevel level) {
    switch (level) {
    case ThermalLevel::nominal:
        return QStringLiteral("Nominal");
    case ThermalLevel::fair:
        return QStringLiteral("Fair");
    case ThermalLevel::serious:
        return QStringLiteral("Serious");
    case ThermalLevel::critical:
        return QStringLiteral("Critical");
    case ThermalLevel::unknown:
        break;
    }
    return QStringLiteral("Unknown");
}

std::optional<double> SystemMonitorService::cpuUsage(CpuTicks previous, CpuTicks current) {
    if (previous.total >= current.total || previous.idle > current.idle) {
        return std::nullopt;
    }
    const double idle = double(current.idle - previous.idle);
    const double total = double(current.total - previous.total);
    return std::clamp(1.0 - idle / total, 0.0, 1.0);
}

void SystemMonitorService::update() {
    const CpuTicks ticks = m_statistics->cpuTicks();
    SystemSnapshot next = m_snapshot;
    if (m_previousTicks) {
        if (const auto usage = cpuUsage(*m_previousTicks, ticks)) {
            next.cpuUsage = *usage;
        }
    }
    // A failed read (no ticks at all) is no baseline: measured against it, the next figure
    // would be the average load since boot.
    if (ticks.total != 0) {
        m_previousTicks = ticks;
    }

    const MemoryUsage memory = m_statistics->memoryUsage();
    next.memoryUsed = memory.used;
    next.memoryTotal = memory.total;
    const double uptime = m_statistics->uptime();
    next.uptime = std::isfinite(uptime) && uptime >= 0 && uptime <= MaxUptime ? uptime : 0.0;
    next.thermalState = thermalStateText(m_statistics->thermalLevel());

    if (next != m_snapshot) {
        m_snapshot = next;
        emit snapshotChanged();
    }
}

} // namespace plimbo
