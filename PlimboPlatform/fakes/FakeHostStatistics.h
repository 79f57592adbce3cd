#pragma once

#include "HostStatistics.h"

namespace plimbo {

// Figures set by the test; counts the samples taken.
class FakeHostStatistics : public HostStatistics {
public:
    CpuTicks ticks;
    MemoryUsage memory;
    double uptimeSeconds = 0;
    ThermalLevel thermal = ThermalLevel::nominal;
    int cpuReads = 0;

    CpuTicks cpuTicks() override {
        ++cpuReads;
        return ticks;
    }
    MemoryUsage memoryUsage() override { return memory; }
    double uptime() override { return uptimeSeconds; }
    ThermalLevel thermalLevel() override { return thermal; }
};

} // namespace plimbo
