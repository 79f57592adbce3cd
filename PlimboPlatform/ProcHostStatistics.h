#pragma once

#include "HostStatistics.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace plimbo {

// Linux figures from procfs and sysfs under a root folder ("/" for the real system; tests
// point it at fixture files): proc/stat, proc/meminfo, proc/uptime, sys/class/thermal.
class ProcHostStatistics : public HostStatistics {
public:
    explicit ProcHostStatistics(QString root = QStringLiteral("/"));

    CpuTicks cpuTicks() override;
    MemoryUsage memoryUsage() override;
    double uptime() override;
    ThermalLevel thermalLevel() override;

    // The aggregate "cpu" line: idle = idle + iowait, total = every field up to steal (guest
    // time is already counted in user and nice). None when the line is missing or short.
    static std::optional<CpuTicks> parseStat(const QByteArray& text);
    // used = MemTotal - MemAvailable; none without both.
    static std::optional<MemoryUsage> parseMemInfo(const QByteArray& text);
    // The first number of /proc/uptime, as written (not range-checked).
    static std::optional<double> parseUptime(const QByteArray& text);

private:
    QString path(const char* relative) const;

    QString m_root;
};

} // namespace plimbo
