#include "WindowFrameAutosave.h"
#include "InMemorySettingsStore.h"
#include "ShellHarness.h"

#include <gtest/gtest.h>

#include <QScreen>
#include <QWidget>

using namespace plimbo;
using namespace plimbo::test;

TEST(WindowFrameAutosaveTest, ReadsOnlyFourIntegersWithAPositiveSize) {
    EXPECT_EQ(WindowFrameAutosave::parse(QStringLiteral("10 -20 900 650")),
              QRect(10, -20, 900, 650));
    EXPECT_EQ(WindowFrameAutosave::format(QRect(10, -20, 900, 650)),
              QStringLiteral("10 -20 900 650"));
    for (const QString& bad :
         {QString(), QStringLiteral("10 20 900"), QStringLiteral("10 20 900 650 1"),
          QStringLiteral("a b c d"), QStringLiteral("10 20 0 650"), QStringLiteral("10 20 900 -1"),
          QStringLiteral("2147483647 0 2 10"), QStringLiteral("0 2147483000 10 2147483000")}) {
        EXPECT_FALSE(WindowFrameAutosave::parse(bad).has_value()) << bad.toStdString();
    }
}

TEST(WindowFrameAutosaveTest, AFrameComesBackOnlyAsFarAsItFitsAScreen) {
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    // A frame on a screen stays as it was.
    EXPECT_EQ(WindowFrameAutosave::fitted(QRect(2000, 100, 900, 650), screens),
              QRect(2000, 100, 900, 650));
    // Too big, or hanging over the edge: shrunk and moved onto the screen it overlaps most.
    EXPECT_EQ(WindowFrameAutosave::fitted(QRect(0, 0, 2147483647, 2147483647), screens),
              QRect(0, 0, 1920, 1080));
    EXPECT_EQ(WindowFrameAutosave::fitted(QRect(3000, 900, 900, 650), screens),
              QRect(2300, 374, 900, 650));
    // Off every screen: on the first one.
    EXPECT_EQ(WindowFrameAutosave::fitted(QRect(-40000, 50000, 900, 650), screens),
              QRect(0, 430, 900, 650));
}

TEST(WindowFrameAutosaveTest, AHugeOrLostFrameOpensTheWindowOnTheScreen) {
    struct Case {
        QString saved;
        QSize size; // before the screen and the window's minimum have their say
    };
    for (const Case& c : {Case{QStringLiteral("0 0 2147483647 2147483647"), {32767, 32767}},
                          Case{QStringLiteral("50000 -50000 500 400"), {500, 400}}}) {
        SCOPED_TRACE(c.saved.toStdString());
        ShellHarness shell;
        shell.h.settings->setValue(QStringLiteral("PlimboDashboard"), c.saved);
        AppModel& model = shell.start();
        model.showDashboard(AppSection::overview);
        QWidget* dashboard = shell.dashboard();
        settle([&] { return dashboard->isVisible(); });
        const QRect screen = dashboard->screen()->availableGeometry();
        const QSize fitted = c.size.boundedTo(screen.size()).expandedTo(dashboard->minimumSize());
        // The width as saved, as far as the screen allows; the height may give way to the
        // notch's strip above a window that would reach under it.
        EXPECT_EQ(dashboard->width(), fitted.width());
        EXPECT_LE(dashboard->height(), fitted.height());
        EXPECT_TRUE(screen.contains(dashboard->geometry().topLeft()))
            << WindowFrameAutosave::format(dashboard->geometry()).toStdString();
    }
}

TEST(WindowFrameAutosaveTest, DashboardAndSettingsComeBackWithTheirSavedFrames) {
    ShellHarness shell;
    shell.h.settings->setValue(QStringLiteral("PlimboDashboard"), QStringLiteral("40 50 760 550"));
    // Smaller than the window may be: the minimum wins.
    shell.h.settings->setValue(QStringLiteral("PlimboSettings"), QStringLiteral("0 0 300 200"));
    shell.start();
    // Smaller than the window may be: the minimum wins.
    EXPECT_EQ(shell.dashboard()->size(), QSize(820, 600));
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
