#include "ProcHostStatistics.h"

#include "TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace plimbo;

namespace {

class ProcHostStatisticsTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_root.isValid()); }
    void write(const QString& relative, const QByteArray& bytes) {
        ASSERT_TRUE(test::writeFile(m_root.filePath(relative), bytes));
    }
    // One thermal zone: temperature and (type, temperature) trip points, millidegrees.
    void zone(int index, const QByteArray& temperature,
              const QList<QPair<QByteArray, QByteArray>>& trips) {
        const QString folder = QStringLiteral("sys/class/thermal/thermal_zone%1/").arg(index);
        write(folder + "temp", temperature + "\n");
        for (int i = 0; i < trips.size(); ++i) {
            write(folder + QStringLiteral("trip_point_%1_type").arg(i), trips[i].first + "\n");
            write(folder + QStringLiteral("trip_point_%1_temp").arg(i), trips[i].second + "\n");
        }
    }
    ProcHostStatistics statistics() const { return ProcHostStatistics(m_root.path()); }

    QTemporaryDir m_root;
};

} // namespace

TEST_F(ProcHostStatisticsTest, CpuTicksFromTheAggregateLine) {
    write("proc/stat", "cpu  100 5 50 800 20 3 2 10 7 1\n"
                       "cpu0 50 2 25 400 10 1 1 5 3 0\n"
                       "intr 12345\n");
    // idle = idle + iowait; total = user..steal (guest already inside user and nice).
    EXPECT_EQ(statistics().cpuTicks(), (CpuTicks{820, 990}));

    // Old kernels have only four columns.
    EXPECT_EQ(ProcHostStatistics::parseStat("cpu 1 2 3 4\n"), (CpuTicks{4, 10}));
    EXPECT_FALSE(ProcHostStatistics::parseStat("cpu0 1 2 3 4 5\n"));
    EXPECT_FALSE(ProcHostStatistics::parseStat("cpu 1 2 x 4 5\n"));
    EXPECT_FALSE(ProcHostStatistics::parseStat("cpu 1 2\n"));
    EXPECT_FALSE(ProcHostStatistics::parseStat(""));
}

TEST_F(ProcHostStatisticsTest, MissingFilesReadAsZero) {
    ProcHostStatistics none(m_root.filePath("nothing-here"));
    EXPECT_EQ(none.cpuTicks(), (CpuTicks{0, 0}));
    EXPECT_EQ(none.memoryUsage(), (MemoryUsage{0, 0}));
    EXPECT_EQ(none.uptime(), 0.0);
    EXPECT_EQ(none.thermalLevel(), ThermalLevel::unknown);
}

TEST_F(ProcHostStatisticsTest, MemoryUsedIsTotalMinusAvailable) {
    write("proc/meminfo", "MemTotal:       16384000 kB\n"
                          "MemFree:          100000 kB\n"
                          "MemAvailable:    4096000 kB\n"
                          "Buffers:          200000 kB\n");
    EXPECT_EQ(statistics().memoryUsage(),
              (MemoryUsage{(16384000ull - 4096000ull) * 1024, 16384000ull * 1024}));

    // No MemAvailable (kernels before 3.14): unknown rather than guessed.
    EXPECT_FALSE(ProcHostStatistics::parseMemInfo("MemTotal: 100 kB\nMemFree: 50 kB\n"));
    // More available than total never wraps around to a huge number.
    EXPECT_EQ(ProcHostStatistics::parseMemInfo("MemTotal: 100 kB\nMemAvailable: 150 kB\n"),
              (MemoryUsage{0, 100 * 1024}));
}

TEST_F(ProcHostStatisticsTest, UptimeIsTheFirstNumber) {
    write("proc/uptime", "12345.67 98765.43\n");
    EXPECT_DOUBLE_EQ(statistics().uptime(), 12345.67);
    EXPECT_FALSE(ProcHostStatistics::parseUptime("garbage"));
    EXPECT_FALSE(ProcHostStatistics::parseUptime(""));
}

TEST_F(ProcHostStatisticsTest, ThermalLevelFromTripPoints) {
    const QList<QPair<QByteArray, QByteArray>> trips = {
        {"active", "60000"}, {"passive", "80000"}, {"hot", "95000"}, {"critical", "105000"}};
    zone(0, "45000", trips);
    EXPECT_EQ(statistics().thermalLevel(), ThermalLevel::nominal);
    zone(0, "60000", trips);
    EXPECT_EQ(statistics().thermalLevel(), ThermalLevel::fair);
    zone(0, "85000", trips);
    EXPECT_EQ(statistics().thermalLevel(), ThermalLevel::serious);
    zone(0, "96000", trips);
    EXPECT_EQ(statistics().thermalLevel(), ThermalLevel::critical);
}

TEST_F(ProcHostStatisticsTest, ThermalLevelIsTheWorstJudgeableZone) {
    zone(0, "30000", {{"critical", "100000"}});
    zone(1, "70000", {{"passive", "65000"}, {"critical", "100000"}});
    // A zone without trip points, one that cannot be read and a disabled one say nothing.
    zone(2, "120000", {});
    zone(3, "not a number", {{"critical", "50000"}});
    zone(4, "120000", {{"critical", "50000"}});
    write("sys/class/thermal/thermal_zone4/mode", "disabled\n");
    // Unused trip slots hold 0: they must not count as already reached.
    zone(5, "20000", {{"critical", "0"}, {"hot", "-1"}});
    EXPECT_EQ(statistics().thermalLevel(), ThermalLevel::serious);
}

TEST_F(ProcHostStatisticsTest, ThermalLevelUnknownWithoutUsableZones) {
    EXPECT_EQ(statistics().thermalLevel(), ThermalLevel::unknown);
    zone(0, "50000", {});
    EXPECT_EQ(statistics().thermalLevel(), ThermalLevel::unknown);
    zone(1, "50000", {{"critical", "0"}});
    EXPECT_EQ(statistics().thermalLevel(), ThermalLevel::unknown);
}

TEST_F(ProcHostStatisticsTest, TemperaturesAreReadEverySampleAndZonesOnlyWhenTheListExpires) {
    const QList<QPair<QByteArray, QByteArray>> trips = {{"critical", "100000"}};
    ProcHostStatistics kept(m_root.path());
    ProcHostStatistics relisted(m_root.path(), std::chrono::milliseconds(0));
    zone(0, "30000", trips);
    EXPECT_EQ(kept.thermalLevel(), ThermalLevel::nominal);
    EXPECT_EQ(relisted.thermalLevel(), ThermalLevel::nominal);

    zone(0, "101000", trips);
    EXPECT_EQ(kept.thermalLevel(), ThermalLevel::critical);

    zone(0, "30000", trips);
    zone(1, "90000", {{"passive", "80000"}});
    EXPECT_EQ(kept.thermalLevel(), ThermalLevel::nominal) << "listed again within the minute";
    EXPECT_EQ(relisted.thermalLevel(), ThermalLevel::serious);
}

TEST_F(ProcHostStatisticsTest, LiveUptimeIsWhatProcUptimeSays) {
    ProcHostStatistics live;
    const auto written = ProcHostStatistics::parseUptime(ProcFile("/proc/uptime").read());
    ASSERT_TRUE(written);
    EXPECT_NEAR(live.uptime(), *written, 0.5);
}
