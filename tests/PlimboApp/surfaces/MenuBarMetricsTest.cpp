#include "MenuBarMetrics.h"
#include "PlimboTheme.h"

#include <gtest/gtest.h>

#include <QPalette>

#include <limits>

using namespace plimbo;
using Tone = MenuBarMetrics::Tone;

namespace {

SystemSnapshot memory(quint64 used, quint64 total) {
    SystemSnapshot snapshot;
    snapshot.memoryUsed = used;
    snapshot.memoryTotal = total;
    return snapshot;
}

QPalette scheme(bool light) {
    QPalette palette;
    palette.setColor(QPalette::Window, light ? QColor(236, 236, 236) : QColor(30, 30, 32));
    palette.setColor(QPalette::WindowText, light ? QColor(20, 20, 20) : QColor(240, 240, 240));
    return palette;
}

} // namespace

TEST(MenuBarMetricsTest, UptimeReadsHoursAndMinutesBelowADayThenDaysAndHours) {
    const QList<std::pair<double, QString>> cases{
        {0, QStringLiteral("0h 0m")},
        {59, QStringLiteral("0h 0m")},
        {3599, QStringLiteral("0h 59m")},
        {3600, QStringLiteral("1h 0m")},
        {3725.9, QStringLiteral("1h 2m")},
        {86399, QStringLiteral("23h 59m")},
        {86399.99, QStringLiteral("23h 59m")},
        {86400, QStringLiteral("1d 0h")},
        {86400 + 3600 + 60 + 1, QStringLiteral("1d 1h")},
        {1000000, QStringLiteral("11d 13h")},
    };
    for (const auto& [seconds, text] : cases) {
        EXPECT_EQ(MenuBarMetrics::uptimeLabel(seconds), text) << seconds;
    }
}

TEST(MenuBarMetricsTest, UnusableUptimesCountAsZero) {
    for (double bad : {-1.0, -86400.0 * 3, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity(), 1e300}) {
        EXPECT_EQ(MenuBarMetrics::uptimeLabel(bad), QStringLiteral("0h 0m")) << bad;
    }
}

TEST(MenuBarMetricsTest, PercentagesAreWholeNumbersInTheLocalesDigitsAndSign) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(MenuBarMetrics::percent(0.634, english), QStringLiteral("63%"));
    EXPECT_EQ(MenuBarMetrics::percent(0.12, english), QStringLiteral("12%"));
    EXPECT_EQ(MenuBarMetrics::percent(0.849, english), QStringLiteral("85%"));
    EXPECT_EQ(MenuBarMetrics::percent(0, english), QStringLiteral("0%"));
    EXPECT_EQ(MenuBarMetrics::percent(-0.001, english), QStringLiteral("0%"));
    EXPECT_EQ(MenuBarMetrics::percent(1, english), QStringLiteral("100%"));

    const QLocale arabic(QLocale::Arabic, QLocale::Egypt);
    const QString native = MenuBarMetrics::percent(0.634, arabic);
    EXPECT_TRUE(native.startsWith(arabic.toString(63))) << native.toStdString();
    EXPECT_FALSE(native.contains(QLatin1Char('6')));
}

TEST(MenuBarMetricsTest, MemoryTurnsWarmFromEightyFivePercentOfTheExactFraction) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    // 0.849 reads 85% like 0.85, but only 0.85 is warm.
    EXPECT_EQ(MenuBarMetrics::memoryLabel(memory(849, 1000), english), QStringLiteral("85%"));
    EXPECT_EQ(MenuBarMetrics::memoryTone(memory(849, 1000), true), Tone::primary);
    EXPECT_EQ(MenuBarMetrics::memoryLabel(memory(850, 1000), english), QStringLiteral("85%"));
    EXPECT_EQ(MenuBarMetrics::memoryTone(memory(850, 1000), true), Tone::warning);
    EXPECT_EQ(MenuBarMetrics::memoryTone(memory(999, 1000), false), Tone::secondary);
    // Unknown total: no reading, and nothing to warn about.
    EXPECT_EQ(MenuBarMetrics::memoryLabel(memory(5, 0), english), QStringLiteral("—"));
    EXPECT_EQ(MenuBarMetrics::memoryTone(memory(5, 0), true), Tone::primary);
    EXPECT_DOUBLE_EQ(MenuBarMetrics::memoryFraction(memory(3, 2)), 1.5);
}

TEST(MenuBarMetricsTest, StoppedMonitorShowsDashesAndNoThermalReading) {
    SystemSnapshot snapshot = memory(500, 1000);
    snapshot.cpuUsage = 0.5;
    snapshot.uptime = 7200;
    snapshot.thermalState = QStringLiteral("Critical");
    EXPECT_EQ(MenuBarMetrics::cpuValue(snapshot, false), QStringLiteral("—"));
    EXPECT_EQ(MenuBarMetrics::memoryValue(snapshot, false), QStringLiteral("—"));
    EXPECT_EQ(MenuBarMetrics::uptimeValue(snapshot, false), QStringLiteral("—"));
    EXPECT_EQ(MenuBarMetrics::uptimeValue(snapshot, true), QStringLiteral("2h 0m"));
    EXPECT_EQ(MenuBarMetrics::thermal(snapshot.thermalState, false),
              (MenuBarMetrics::Thermal{QStringLiteral("thermometer"), QStringLiteral("Off"),
                                       Tone::secondary}));
    EXPECT_EQ(MenuBarMetrics::monitorStatusTone(false), Tone::secondary);
    EXPECT_EQ(MenuBarMetrics::monitorStatusTone(true), Tone::positive);
}

TEST(MenuBarMetricsTest, ThermalStatesMapToSymbolsLabelsAndColours) {
    using Thermal = MenuBarMetrics::Thermal;
    EXPECT_EQ(
        MenuBarMetrics::thermal(QStringLiteral("Critical"), true),
        (Thermal{QStringLiteral("thermometer.high"), QStringLiteral("Critical"), Tone::warning}));
    EXPECT_EQ(
        MenuBarMetrics::thermal(QStringLiteral("Serious"), true),
        (Thermal{QStringLiteral("thermometer.medium"), QStringLiteral("Serious"), Tone::warning}));
    EXPECT_EQ(
        MenuBarMetrics::thermal(QStringLiteral("Fair"), true),
        (Thermal{QStringLiteral("thermometer.medium"), QStringLiteral("Fair"), Tone::warning}));
    EXPECT_EQ(MenuBarMetrics::thermal(QStringLiteral("Unknown"), true),
              (Thermal{QStringLiteral("questionmark.circle"), QStringLiteral("Unknown"),
                       Tone::secondary}));
    EXPECT_EQ(
        MenuBarMetrics::thermal(QStringLiteral("Nominal"), true),
        (Thermal{QStringLiteral("thermometer.low"), QStringLiteral("Nominal"), Tone::positive}));
    // Exact comparison: anything else is shown as it is, as nominal.
    EXPECT_EQ(
        MenuBarMetrics::thermal(QStringLiteral("critical"), true),
        (Thermal{QStringLiteral("thermometer.low"), QStringLiteral("critical"), Tone::positive}));
}

TEST(MenuBarMetricsTest, OnlyTheLightSchemeGetsTheDarkerStatusColours) {
    EXPECT_EQ(MenuBarMetrics::color(Tone::positive, scheme(true)),
              QColor::fromRgbF(0, 0.4f, 0.23f));
    EXPECT_EQ(MenuBarMetrics::color(Tone::warning, scheme(true)),
              QColor::fromRgbF(0.56f, 0.28f, 0));
    EXPECT_EQ(MenuBarMetrics::color(Tone::positive, scheme(false)), PlimboTheme::positive());
    EXPECT_EQ(MenuBarMetrics::color(Tone::warning, scheme(false)), PlimboTheme::warning());
    EXPECT_EQ(MenuBarMetrics::color(Tone::accent, scheme(true)), PlimboTheme::accent());
}
