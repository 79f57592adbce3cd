#pragma once

#include "HostStatistics.h"
#include "ProcFile.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <chrono>
#include <optional>
#include <vector>

namespace plimbo {

// Linux figures from procfs and sysfs under a root folder ("/" for the real system; tests
// point it at fixture files): proc/stat, proc/meminfo, proc/uptime, sys/class/thermal. The
// real system's uptime is read from the boot-time clock that proc/uptime writes out.
class ProcHostStatistics : public HostStatistics {
public:
    // The thermal zones and their trip points are listed again once `zoneListLifetime` has
    // passed; temperatures are read on every call.
    explicit ProcHostStatistics(
        QString root = QStringLiteral("/"),
        std::chrono::milliseconds zoneListLifetime = std::chrono::minutes(5));

    CpuTicks cpuTicks() override;
    MemoryUsage memoryUsage() override;
    double uptime() override;
    ThermalLevel thermalLevel() override;

    // The aggregate "cpu" line: idle = idle + iowait, total = every field up to steal (guest
    // time is already counted in user and nice). None when the line is missing or short.
    static std::optional<CpuTicks> parseStat(QByteArrayView text);
    // used = MemTotal - MemAvailable; none without both.
    static std::optional<MemoryUsage> parseMemInfo(QByteArrayView text);
    // The first number of /proc/uptime, as written (not range-checked).
    static std::optional<double> parseUptime(QByteArrayView text);

private:
    // A sensor worth reading: its temperature file and (type, millidegrees) trip points.
    struct ThermalZone {
        ProcFile temperature;
        QList<QPair<QByteArray, qint64>> trips;
    };

    QString path(const char* relative) const;
    void listThermalZones();

    QString m_root;
    std::chrono::milliseconds m_zoneListLifetime;
    ProcFile m_stat;
    ProcFile m_memInfo;
    ProcFile m_uptime;
    std::vector<ThermalZone> m_zones;
    std::optional<std::chrono::steady_clock::time_point> m_zonesListedAt;
};

} // namespace plimbo
