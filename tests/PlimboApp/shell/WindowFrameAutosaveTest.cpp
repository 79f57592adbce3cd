#include "WindowFrameAutosave.h"
#include "InMemorySettingsStore.h"
#include "ShellHarness.h"

#include <gtest/gtest.h>

using namespace plimbo;
using namespace plimbo::test;

TEST(WindowFrameAutosaveTest, ReadsOnlyFourIntegersWithAPositiveSize) {
    EXPECT_EQ(WindowFrameAutosave::parse(QStringLiteral("10 -20 900 650")),
              QRect(10, -20, 900, 650));
    EXPECT_EQ(WindowFrameAutosave::format(QRect(10, -20, 900, 650)),
              QStringLiteral("10 -20 900 650"));
    for (const QString& bad : {QString(), QStringLiteral("10 20 900"),
                               QStringLiteral("10 20 900 650 1"), QStringLiteral("a b c d"),
                               QStringLiteral("10 20 0 650"), QStringLiteral("10 20 900 -1")}) {
        EXPECT_FALSE(WindowFrameAutosave::parse(bad).has_value()) << bad.toStdString();
    }
}

TEST(WindowFrameAutosaveTest, DashboardAndSettingsComeBackWithTheirSavedFrames) {
    ShellHarness shell;
    shell.h.settings->setValue(QStringLiteral("PlimboDashboard"), QStringLiteral("40 50 900 650"));
    // Smaller than the window may be: the minimum wins.
    shell.h.settings->setValue(QStringLiteral("PlimboSettings"), QStringLiteral("0 0 300 200"));
    shell.start();
    EXPECT_EQ(shell.dashboard()->size(), QSize(900, 650));
    EXPECT_EQ(shell.settings()->size(), QSize(760, 560));
}

TEST(WindowFrameAutosaveTest, UnreadableFramesLeaveTheDefaults) {
    ShellHarness shell;
    shell.h.settings->setValue(QStringLiteral("PlimboDashboard"), QStringLiteral("wide"));
    shell.h.settings->setValue(QStringLiteral("PlimboSettings"), 17);
    shell.start();
    EXPECT_EQ(shell.dashboard()->size(), QSize(1060, 720));
    EXPECT_EQ(shell.settings()->size(), QSize(820, 620));
}

TEST(WindowFrameAutosaveTest, SavesTheFrameOfTheShownWindowAsItChanges) {
    ShellHarness shell;
    AppModel& model = shell.start();
    const QString key = QStringLiteral("PlimboSettings");
    // Building the windows saves nothing.
    EXPECT_FALSE(shell.h.settings->contains(key));

    model.openSettings(SettingsSection::general);
    QWidget* settings = shell.settings();
    settings->resize(800, 600);
    settle([&] { return settings->size() == QSize(800, 600); });
    const std::optional<QRect> saved =
        WindowFrameAutosave::parse(shell.h.settings->value(key).toString());
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->size(), QSize(800, 600));
    EXPECT_EQ(*saved, settings->geometry());
    EXPECT_FALSE(shell.h.settings->contains(QStringLiteral("PlimboDashboard")));
}
