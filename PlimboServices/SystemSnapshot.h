#pragma once

#include <QString>
#include <QtGlobal>

namespace plimbo {

// One sample of the system monitor.
struct SystemSnapshot {
    // Share of CPU time not idle since the previous sample, 0 to 1.
    double cpuUsage = 0;
    // Bytes in use (MemTotal - MemAvailable).
    quint64 memoryUsed = 0;
    // Bytes of physical memory.
    quint64 memoryTotal = 0;
    // Seconds since the system started.
    double uptime = 0;
    // "Nominal", "Fair", "Serious", "Critical" or "Unknown".
    QString thermalState = QStringLiteral("Nominal");

    bool operator==(const SystemSnapshot&) const = default;
};

} // namespace plimbo
