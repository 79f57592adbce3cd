#pragma once

#include <QtGlobal>

namespace plimbo {

// Cumulative CPU time since boot, in clock ticks. (0, 0) means it could not be read.
struct CpuTicks {
    quint64 idle = 0;
    quint64 total = 0;

    bool operator==(const CpuTicks&) const = default;
};

// Bytes. Zeros mean they could not be read.
struct MemoryUsage {
    quint64 used = 0;
    quint64 total = 0;

    bool operator==(const MemoryUsage&) const = default;
};

// How hot the machine runs, judged against its own trip points.
enum class ThermalLevel {
    nominal,
    // An active-cooling trip point is reached (fans ramp up).
    fair,
    // A passive trip point is reached (the kernel throttles).
    serious,
    // A hot or critical trip point is reached.
    critical,
    // No thermal zone with trip points to judge by.
    unknown,
};

// Host-wide CPU, memory, uptime and thermal figures.
class HostStatistics {
public:
    virtual ~HostStatistics() = default;

    virtual CpuTicks cpuTicks() = 0;
    virtual MemoryUsage memoryUsage() = 0;
    // Seconds since boot; whatever the source says, callers check it is sane.
    virtual double uptime() = 0;
    virtual ThermalLevel thermalLevel() = 0;
};

} // namespace plimbo
