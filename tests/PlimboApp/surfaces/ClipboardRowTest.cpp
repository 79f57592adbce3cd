#include "ClipboardRow.h"

#include <gtest/gtest.h>

using namespace plimbo;

TEST(ClipboardRowTest, TheTimestampHasAnAbbreviatedDateAndATimeWithoutSeconds) {
    const QDateTime captured(QDate(2025, 12, 8), QTime(22, 4, 31));
    const QString english =
        ClipboardRow::timestamp(captured, QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_TRUE(english.startsWith(QStringLiteral("Dec 8, 2025, 10:04"))) << english.toStdString();
    EXPECT_FALSE(english.contains(QStringLiteral("Monday")));

    const QString german = ClipboardRow::timestamp(captured, QLocale(QLocale::German));
    EXPECT_EQ(german, QStringLiteral("8. Dez. 2025, 22:04"));

    // The C locale's short time carries seconds; they are dropped.
    const QString plain = ClipboardRow::timestamp(captured, QLocale::c());
    EXPECT_FALSE(plain.contains(QStringLiteral(":31"))) << plain.toStdString();
    EXPECT_TRUE(plain.contains(QStringLiteral("22:04"))) << plain.toStdString();
}
