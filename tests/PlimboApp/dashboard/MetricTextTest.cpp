#include "MetricText.h"

#include <gtest/gtest.h>

#include <limits>

using namespace plimbo;

namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);

TEST(MetricTextTest, PercentagesAreWholeAndLocalised) {
    EXPECT_EQ(MetricText::percent(0.42, english), QStringLiteral("42%"));
    EXPECT_EQ(MetricText::percent(0.0, english), QStringLiteral("0%"));
    EXPECT_EQ(MetricText::percent(1.0, english), QStringLiteral("100%"));
    EXPECT_EQ(MetricText::percent(-0.001, english), QStringLiteral("0%"));
    EXPECT_EQ(MetricText::percent(std::numeric_limits<double>::quiet_NaN(), english),
              QStringLiteral("0%"));
    // Another locale's digits and sign.
    const QLocale arabic(QLocale::Arabic, QLocale::Egypt);
    EXPECT_EQ(MetricText::percent(0.5, arabic), arabic.toString(50) + arabic.percent());
}

TEST(MetricTextTest, MemoryIsAShareOfTheTotalOrADashWhileUnknown) {
    SystemSnapshot snapshot;
    EXPECT_EQ(MetricText::memory(snapshot, english), QStringLiteral("—"));
    snapshot.memoryUsed = 8ULL << 30;
    snapshot.memoryTotal = 16ULL << 30;
    EXPECT_EQ(MetricText::memory(snapshot, english), QStringLiteral("50%"));
    snapshot.memoryTotal = 0;
    EXPECT_EQ(MetricText::memory(snapshot, english), QStringLiteral("—"));
}

TEST(MetricTextTest, UptimeIsHoursBelowFortyNineThenDays) {
    EXPECT_EQ(MetricText::uptime(0), QStringLiteral("0h"));
    EXPECT_EQ(MetricText::uptime(3599), QStringLiteral("0h"));
    EXPECT_EQ(MetricText::uptime(176364), QStringLiteral("48h"));
    EXPECT_EQ(MetricText::uptime(176400), QStringLiteral("2d"));
    EXPECT_EQ(MetricText::uptime(255599), QStringLiteral("2d"));
    EXPECT_EQ(MetricText::uptime(259200), QStringLiteral("3d"));
}

TEST(MetricTextTest, ImpossibleUptimeReadsAsZero) {
    EXPECT_EQ(MetricText::uptime(std::numeric_limits<double>::quiet_NaN()), QStringLiteral("0h"));
    EXPECT_EQ(MetricText::uptime(std::numeric_limits<double>::infinity()), QStringLiteral("0h"));
    EXPECT_EQ(MetricText::uptime(-5), QStringLiteral("0h"));
    EXPECT_EQ(MetricText::uptime(1e300), QStringLiteral("0h"));
}

} // namespace
