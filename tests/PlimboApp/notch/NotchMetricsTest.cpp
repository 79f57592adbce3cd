#include "NotchMetrics.h"
#include "ChatStyle.h"
#include "PlimboTheme.h"

#include <gtest/gtest.h>

using namespace plimbo;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

SystemSnapshot snapshot(double cpu, quint64 used, quint64 total, double uptime,
                        const QString& thermal = QStringLiteral("Nominal")) {
    SystemSnapshot s;
    s.cpuUsage = cpu;
    s.memoryUsed = used;
    s.memoryTotal = total;
    s.uptime = uptime;
    s.thermalState = thermal;
    return s;
}

} // namespace

TEST(NotchMetricsTest, RunningMonitorShowsEveryValue) {
    const auto cells = NotchMetrics::cells(snapshot(0.237, 50, 100, 90061), true, kEnglish);
    ASSERT_EQ(cells.size(), 4);
    EXPECT_EQ(cells[0].title, QStringLiteral("CPU"));
    EXPECT_EQ(cells[0].value, QStringLiteral("24%"));
    EXPECT_EQ(cells[0].color, PlimboTheme::accent());
    EXPECT_EQ(cells[1].value, QStringLiteral("50%"));
    EXPECT_EQ(cells[1].color, QColor(Qt::white));
    EXPECT_EQ(cells[2].value, QStringLiteral("Nominal"));
    EXPECT_EQ(cells[2].symbol, QStringLiteral("thermometer.low"));
    EXPECT_EQ(cells[2].color, PlimboTheme::positive());
    EXPECT_EQ(cells[3].value, QStringLiteral("1d 1h"));
}

TEST(NotchMetricsTest, StoppedMonitorShowsPlaceholdersButKeepsMemoryWarning) {
    const auto cells = NotchMetrics::cells(snapshot(0.5, 90, 100, 500, QStringLiteral("Serious")),
                                           false, kEnglish);
    EXPECT_EQ(cells[0].value, QStringLiteral("—"));
    EXPECT_EQ(cells[1].value, QStringLiteral("—"));
    EXPECT_EQ(cells[1].color, PlimboTheme::warning());
    EXPECT_EQ(cells[2].value, QStringLiteral("Off"));
    EXPECT_EQ(cells[2].symbol, QStringLiteral("thermometer.medium"));
    EXPECT_EQ(cells[2].color, ChatStyle::white(0.55));
    EXPECT_EQ(cells[3].value, QStringLiteral("—"));
}

TEST(NotchMetricsTest, MemoryWarningStartsAtExactly85Percent) {
    EXPECT_EQ(NotchMetrics::cells(snapshot(0, 850, 1000, 0), true)[1].color,
              PlimboTheme::warning());
    EXPECT_EQ(NotchMetrics::cells(snapshot(0, 849, 1000, 0), true)[1].color, QColor(Qt::white));
    // No total: a dash in white.
    const auto empty = NotchMetrics::cells(snapshot(0, 5, 0, 0), true);
    EXPECT_EQ(empty[1].value, QStringLiteral("—"));
    EXPECT_EQ(empty[1].color, QColor(Qt::white));
}

TEST(NotchMetricsTest, ThermalStates) {
    EXPECT_EQ(NotchMetrics::thermalSymbol(QStringLiteral("Critical")), "thermometer.high");
    EXPECT_EQ(NotchMetrics::thermalSymbol(QStringLiteral("Fair")), "thermometer.medium");
    EXPECT_EQ(NotchMetrics::thermalSymbol(QStringLiteral("Unknown")), "thermometer.low");
    // Exact and case-sensitive.
    EXPECT_EQ(NotchMetrics::thermalSymbol(QStringLiteral("critical")), "thermometer.low");
    EXPECT_EQ(NotchMetrics::thermalColor(QStringLiteral("Unknown"), true), ChatStyle::white(0.55));
    EXPECT_EQ(NotchMetrics::thermalColor(QStringLiteral("Critical"), true), PlimboTheme::warning());
    EXPECT_EQ(NotchMetrics::thermalColor(QStringLiteral("Nominal"), false), ChatStyle::white(0.55));
}

TEST(NotchMetricsTest, Uptime) {
    EXPECT_EQ(NotchMetrics::uptimeLabel(3599), QStringLiteral("0h"));
    EXPECT_EQ(NotchMetrics::uptimeLabel(86399), QStringLiteral("23h"));
    EXPECT_EQ(NotchMetrics::uptimeLabel(86400), QStringLiteral("1d 0h"));
    EXPECT_EQ(NotchMetrics::uptimeLabel(90061.9), QStringLiteral("1d 1h"));
    EXPECT_EQ(NotchMetrics::uptimeLabel(-5), QStringLiteral("0h"));
    EXPECT_EQ(NotchMetrics::uptimeLabel(std::nan("")), QStringLiteral("0h"));
}
