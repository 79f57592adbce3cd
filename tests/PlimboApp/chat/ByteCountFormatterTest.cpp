#include "ByteCountFormatter.h"

#include <gtest/gtest.h>

using namespace plimbo;

namespace {

TEST(ByteCountFormatter, FileStyleWithDecimalUnits) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const auto format = [&](qint64 bytes) {
        return ByteCountFormatter::fileString(bytes, english).toStdString();
    };
    EXPECT_EQ(format(0), "Zero KB");
    EXPECT_EQ(format(1), "1 byte");
    EXPECT_EQ(format(2), "2 bytes");
    EXPECT_EQ(format(999), "999 bytes");
    EXPECT_EQ(format(1000), "1 KB");
    EXPECT_EQ(format(1240), "1 KB");
    EXPECT_EQ(format(1500), "2 KB");
    EXPECT_EQ(format(418000), "418 KB");
    EXPECT_EQ(format(999499), "999 KB");
    EXPECT_EQ(format(999999), "1 MB");
    EXPECT_EQ(format(1000000), "1 MB");
    EXPECT_EQ(format(1234567), "1.2 MB");
    EXPECT_EQ(format(15728640), "15.7 MB");
    EXPECT_EQ(format(2340000000), "2.34 GB");
    EXPECT_EQ(format(2300000000), "2.3 GB");
    EXPECT_EQ(format(5000000000000), "5 TB");
    EXPECT_EQ(format(std::numeric_limits<qint64>::max()), "9.22 EB");
    EXPECT_EQ(format(-1), "-1 byte");
    EXPECT_EQ(format(-2000), "-2 KB");

    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(ByteCountFormatter::fileString(1234567, german), "1,2 MB");
}

} // namespace
