#include "SystemMonitorService.h"

#include "FakeHostStatistics.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using namespace plimbo;
using namespace std::chrono_literals;

namespace {

std::shared_ptr<FakeHostStatistics> statistics() {
    auto stats = std::make_shared<FakeHostStatistics>();
    stats->ticks = {800, 1000};
    stats->memory = {6ull << 30, 16ull << 30};
    stats->uptimeSeconds = 3600.5;
    return stats;
}

} // namespace

TEST(SystemMonitorService, CpuShareFromTwoReadings) {
    EXPECT_DOUBLE_EQ(*SystemMonitorService::cpuUsage({800, 1000}, {850, 2000}), 0.95);
    EXPECT_DOUBLE_EQ(*SystemMonitorService::cpuUsage({0, 0}, {500, 1000}), 0.5);
    // Counters that did not move forward (same, wrapped, failed read) give no figure.
    EXPECT_FALSE(SystemMonitorService::cpuUsage({800, 1000}, {800, 1000}));
    EXPECT_FALSE(SystemMonitorService::cpuUsage({800, 1000}, {0, 0}));
    EXPECT_FALSE(SystemMonitorService::cpuUsage({800, 1000}, {700, 2000}));
    // More idle than elapsed time is impossible; the share stays within 0 and 1.
    EXPECT_DOUBLE_EQ(*SystemMonitorService::cpuUsage({0, 0}, {200, 100}), 0.0);
}

TEST(SystemMonitorService, ThermalStateTexts) {
    EXPECT_EQ(SystemMonitorService::thermalStateText(ThermalLevel::nominal), "Nominal");
    EXPECT_EQ(SystemMonitorService::thermalStateText(ThermalLevel::fair), "Fair");
    EXPECT_EQ(SystemMonitorService::thermalStateText(ThermalLevel::serious), "Serious");
    EXPECT_EQ(SystemMonitorService::thermalStateText(ThermalLevel::critical), "Critical");
    EXPECT_EQ(SystemMonitorService::thermalStateText(ThermalLevel::unknown), "Unknown");
    EXPECT_EQ(SystemMonitorService::thermalStateText(static_cast<ThermalLevel>(42)), "Unknown");
}

TEST(SystemMonitorService, FirstSampleAtStartThenEveryInterval) {
    auto stats = statistics();
    stats->thermal = ThermalLevel::unknown;
    SystemMonitorService service(stats);
    EXPECT_EQ(service.snapshot(), SystemSnapshot{});
    EXPECT_EQ(service.manifest().id, "system-monitor");
    EXPECT_EQ(service.healthCheck().result(), ModuleHealth::stopped());
    EXPECT_EQ(service.resourceUsageSnapshot(), (ModuleResourceSnapshot{0, "Dormant"}));

    service.setSampleInterval(20ms);
    service.start();
    EXPECT_TRUE(service.isRunning());
    EXPECT_EQ(stats->cpuReads, 1);
    // No previous reading yet: the CPU figure stays at 0.
    EXPECT_EQ(service.snapshot(), (SystemSnapshot{0, 6ull << 30, 16ull << 30, 3600.5, "Unknown"}));
    EXPECT_EQ(service.healthCheck().result(), ModuleHealth::healthy("Live every 2 seconds"));
    EXPECT_EQ(service.resourceUsageSnapshot(), (ModuleResourceSnapshot{1, "Adaptive sampler"}));
    // Starting again keeps the one sampler and takes no extra sample.
    service.start();
    EXPECT_EQ(stats->cpuReads, 1);

    stats->ticks = {850, 2000};
    EXPECT_TRUE(QTest::qWaitFor([&] { return service.snapshot().cpuUsage > 0; }, 2000));
    EXPECT_DOUBLE_EQ(service.snapshot().cpuUsage, 0.95);
}

TEST(SystemMonitorService, NotifiesOnlyWhenTheSampleChanges) {
    auto stats = statistics();
    SystemMonitorService service(stats);
    service.setSampleInterval(10ms);
    QSignalSpy changed(&service, &SystemMonitorService::snapshotChanged);
    service.start();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return stats->cpuReads >= 4; }, 2000));
    EXPECT_EQ(changed.count(), 1);
    stats->memory.used += 4096;
    EXPECT_TRUE(QTest::qWaitFor([&] { return changed.count() == 2; }, 2000));
    service.stop();
}

TEST(SystemMonitorService, EachReadingAloneIsAChange) {
    auto stats = statistics();
    SystemMonitorService service(stats);
    QSignalSpy changed(&service, &SystemMonitorService::snapshotChanged);
    // Each start takes one sample; counters that did not move keep the CPU figure.
    const auto sample = [&] {
        changed.clear();
        service.start();
        service.stop();
        return changed.count();
    };
    EXPECT_EQ(sample(), 1);
    EXPECT_EQ(sample(), 0) << "an identical sample was announced";
    struct Step {
        const char* name;
        std::function<void()> change;
    };
    const Step steps[] = {
        {"cpu",
         [&] {
             stats->ticks = {stats->ticks.idle + 50, stats->ticks.total + 100};
         }},
        {"memory used",
         [&] {
             stats->memory.used += 4096;
         }},
        {"memory total",
         [&] {
             stats->memory.total += 4096;
         }},
        {"uptime",
         [&] {
             stats->uptimeSeconds += 2;
         }},
        {"thermal",
         [&] {
             stats->thermal = ThermalLevel::serious;
         }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.change();
        EXPECT_EQ(sample(), 1);
        EXPECT_EQ(sample(), 0);
    }
}

TEST(SystemMonitorService, StopKeepsTheLastSampleAndRestartMeasuresAtOnce) {
    auto stats = statistics();
    SystemMonitorService service(stats);
    service.start();
    service.stop();
    EXPECT_FALSE(service.isRunning());
    EXPECT_EQ(service.healthCheck().result(), ModuleHealth::stopped());
    EXPECT_EQ(service.resourceUsageSnapshot(), (ModuleResourceSnapshot{0, "Dormant"}));
    EXPECT_EQ(service.snapshot().memoryUsed, 6ull << 30);

    // The reading before the stop is the baseline of the first sample after it.
    stats->ticks = {900, 1200};
    service.start();
    EXPECT_DOUBLE_EQ(service.snapshot().cpuUsage, 0.5);
    service.stop();
}

TEST(SystemMonitorService, CountersThatDidNotMoveKeepThePreviousFigure) {
    auto stats = statistics();
    SystemMonitorService service(stats);
    service.start();
    service.stop();
    stats->ticks = {900, 1200};
    service.start(); // 0.5
    service.stop();
    // A wrapped counter gives no figure but becomes the baseline.
    stats->ticks = {300, 1100};
    service.start();
    EXPECT_DOUBLE_EQ(service.snapshot().cpuUsage, 0.5);
    service.stop();
    stats->ticks = {450, 1300};
    service.start();
    EXPECT_DOUBLE_EQ(service.snapshot().cpuUsage, 0.25);
    service.stop();
}

TEST(SystemMonitorService, AFailedReadKeepsTheLastGoodSampleAsBaseline) {
    auto stats = statistics();
    SystemMonitorService service(stats);
    service.start();
    service.stop();
    stats->ticks = {0, 0}; // /proc/stat could not be read
    service.start();
    EXPECT_DOUBLE_EQ(service.snapshot().cpuUsage, 0.0);
    service.stop();
    // Measured against {800, 1000}, not against zero (which would give the load since boot).
    stats->ticks = {850, 1200};
    service.start();
    EXPECT_DOUBLE_EQ(service.snapshot().cpuUsage, 0.75);
}

TEST(SystemMonitorService, InsaneUptimeCountsAsZero) {
    for (double junk :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity(), -1.0, 1e300}) {
        auto stats = statistics();
        stats->uptimeSeconds = junk;
        SystemMonitorService service(stats);
        service.start();
        EXPECT_EQ(service.snapshot().uptime, 0.0) << junk;
    }
    auto stats = statistics();
    stats->uptimeSeconds = 86400.25;
    SystemMonitorService service(stats);
    service.start();
    EXPECT_EQ(service.snapshot().uptime, 86400.25);
}
