#include "MenuBarContentView.h"
#include "HotKeyBackend.h"
#include "KeepAwakeService.h"
#include "MenuExitButton.h"
#include "MenuMetricColumn.h"
#include "MenuPrimaryAction.h"
#include "MenuQuickAction.h"
#include "MenuUtilityAction.h"
#include "MonitorStatusPill.h"
#include "PlimboTheme.h"
#include "ShellViews.h"
#include "SurfaceStyle.h"
#include "SurfaceText.h"
#include "SurfacesHarness.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test;

namespace {

QPalette scheme(bool light) {
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, light ? QColor(236, 236, 236) : QColor(30, 30, 32));
    palette.setColor(QPalette::WindowText, light ? QColor(20, 20, 20) : QColor(240, 240, 240));
    return palette;
}

const QColor lightPositive = QColor::fromRgbF(0, 0.4f, 0.23f);
const QColor lightWarning = QColor::fromRgbF(0.56f, 0.28f, 0);

class MenuBarContentViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        surfaces.make();
        surfaces.host->memory = MemoryUsage{849, 1000};
        surfaces.host->uptimeSeconds = 3725.9;
        view = makeView();
        view->setPalette(scheme(true));
        view->setTerminate([this] { ++terminations; });
        // Samples reach the panel while it is shown, as the user sees it.
        view->show();
    }

    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    AppModel& model() { return *surfaces.model; }
    // Built as the shell builds it, so that the buttons reach the model.
    std::unique_ptr<MenuBarContentView> makeView() {
        return std::unique_ptr<MenuBarContentView>(
            qobject_cast<MenuBarContentView*>(ShellViews::menuBarContent(model())));
    }
    SystemMonitorService& monitor() { return model().systemMonitor(); }

    void startMonitor() {
        monitor().setSampleInterval(std::chrono::milliseconds(5));
        monitor().start();
        ASSERT_TRUE(monitor().isRunning());
    }

    // Waits for a sample taken after the figures changed.
    void nextSample() {
        const int reads = surfaces.host->cpuReads;
        ASSERT_TRUE(settle([&] { return surfaces.host->cpuReads > reads; }));
    }

    QColor secondary() const { return SurfaceStyle::secondary(view->palette()); }
    QColor primary() const { return SurfaceStyle::primary(view->palette()); }

    SurfacesHarness surfaces;
    std::unique_ptr<MenuBarContentView> view;
    int terminations = 0;
};

} // namespace

TEST_F(MenuBarContentViewTest, AStoppedMonitorReadsDormantWithDashesAndNoThermalReading) {
    EXPECT_EQ(view->width(), 372);
    EXPECT_EQ(view->monitorPill()->word(), QStringLiteral("Dormant"));
    EXPECT_EQ(view->monitorPill()->color(), secondary());
    EXPECT_EQ(view->monitorPill()->accessibleName(), QStringLiteral("System monitor dormant"));
    EXPECT_EQ(view->uptimeText()->text(), QStringLiteral("—"));
    EXPECT_EQ(view->uptimeGroup()->accessibleName(), QStringLiteral("Uptime, —"));
    EXPECT_EQ(view->cpuMetric()->value(), QStringLiteral("—"));
    EXPECT_EQ(view->cpuMetric()->color(), PlimboTheme::accent());
    EXPECT_EQ(view->memoryMetric()->value(), QStringLiteral("—"));
    EXPECT_EQ(view->memoryMetric()->color(), secondary());
    EXPECT_EQ(view->thermalMetric()->value(), QStringLiteral("Off"));
    EXPECT_EQ(view->thermalMetric()->symbol(), QStringLiteral("thermometer"));
    EXPECT_EQ(view->thermalMetric()->color(), secondary());
    EXPECT_EQ(view->pulseFooter()->text(), QStringLiteral("Monitoring is off"));
}

TEST_F(MenuBarContentViewTest, TheRunningMonitorsReadingsShowAndGoBackToDashesWhenItStops) {
    startMonitor();
    EXPECT_EQ(view->monitorPill()->word(), QStringLiteral("Live"));
    EXPECT_EQ(view->monitorPill()->color(), lightPositive);
    EXPECT_EQ(view->monitorPill()->accessibleName(), QStringLiteral("System monitor live"));
    EXPECT_EQ(view->uptimeText()->text(), QStringLiteral("1h 2m"));
    EXPECT_EQ(view->uptimeGroup()->accessibleName(), QStringLiteral("Uptime, 1h 2m"));
    EXPECT_EQ(view->cpuMetric()->value(), QStringLiteral("0%"));
    EXPECT_EQ(view->cpuMetric()->accessibleName(), QStringLiteral("CPU, 0%"));
    EXPECT_EQ(view->memoryMetric()->value(), QStringLiteral("85%"));
    EXPECT_EQ(view->memoryMetric()->color(), primary());
    EXPECT_EQ(view->thermalMetric()->value(), QStringLiteral("Nominal"));
    EXPECT_EQ(view->thermalMetric()->symbol(), QStringLiteral("thermometer.low"));
    EXPECT_EQ(view->thermalMetric()->color(), lightPositive);
    EXPECT_EQ(view->pulseFooter()->text(), QStringLiteral("Refreshed every 2 seconds"));

    monitor().stop();
    // The last sample stays in the service, but the panel shows none of it.
    EXPECT_EQ(monitor().snapshot().memoryTotal, 1000u);
    EXPECT_EQ(view->monitorPill()->word(), QStringLiteral("Dormant"));
    EXPECT_EQ(view->uptimeText()->text(), QStringLiteral("—"));
    EXPECT_EQ(view->memoryMetric()->value(), QStringLiteral("—"));
    EXPECT_EQ(view->memoryMetric()->color(), secondary());
    EXPECT_EQ(view->thermalMetric()->value(), QStringLiteral("Off"));
    EXPECT_EQ(view->pulseFooter()->text(), QStringLiteral("Monitoring is off"));
}

TEST_F(MenuBarContentViewTest, SamplesWhileHiddenCostNothingUntilThePanelIsShownAgain) {
    startMonitor();
    ASSERT_EQ(view->memoryMetric()->value(), QStringLiteral("85%"));
    view->hide();
    surfaces.host->memory = MemoryUsage{500, 1000};
    surfaces.host->uptimeSeconds = 7300;
    nextSample();
    nextSample();
    EXPECT_EQ(view->memoryMetric()->value(), QStringLiteral("85%"));
    EXPECT_EQ(view->uptimeText()->text(), QStringLiteral("1h 2m"));

    view->show();
    // The latest sample is there the moment the panel shows, before any new one.
    EXPECT_EQ(view->memoryMetric()->value(), QStringLiteral("50%"));
    EXPECT_EQ(view->uptimeText()->text(), QStringLiteral("2h 1m"));
}

TEST_F(MenuBarContentViewTest, ASampleThatChangesNothingShownCostsNoLayoutOrPaint) {
    startMonitor();
    ASSERT_EQ(view->uptimeText()->text(), QStringLiteral("1h 2m"));
    // Showing left layout and paint work behind; it is done before counting.
    spin(50);
    QCoreApplication::sendPostedEvents();
    int work = 0;
    struct WorkCounter : QObject {
        int& count;
        explicit WorkCounter(int& c)
            : count(c) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint || event->type() == QEvent::LayoutRequest) {
                ++count;
            }
            return false;
        }
    } counter(work);
    view->installEventFilter(&counter);
    for (QWidget* widget : view->findChildren<QWidget*>()) {
        widget->installEventFilter(&counter);
    }
    // A new sample whose uptime moved by seconds: every figure shown stays the same.
    const SystemSnapshot before = monitor().snapshot();
    surfaces.host->uptimeSeconds += 4;
    nextSample();
    spin(50);
    ASSERT_NE(monitor().snapshot(), before);
    EXPECT_EQ(work, 0);
}

TEST_F(MenuBarContentViewTest, MemoryWarmsAtEightyFivePercentInTheSchemesWarningColour) {
    startMonitor();
    ASSERT_EQ(view->memoryMetric()->value(), QStringLiteral("85%"));
    ASSERT_EQ(view->memoryMetric()->color(), primary());

    surfaces.host->memory = MemoryUsage{850, 1000};
    surfaces.host->thermal = ThermalLevel::fair;
    nextSample();
    EXPECT_EQ(view->memoryMetric()->value(), QStringLiteral("85%"));
    EXPECT_EQ(view->memoryMetric()->color(), lightWarning);
    EXPECT_EQ(view->thermalMetric()->value(), QStringLiteral("Fair"));
    EXPECT_EQ(view->thermalMetric()->color(), lightWarning);

    view->setPalette(scheme(false));
    EXPECT_EQ(view->memoryMetric()->color(), PlimboTheme::warning());
    EXPECT_EQ(view->thermalMetric()->color(), PlimboTheme::warning());
    EXPECT_EQ(view->monitorPill()->color(), PlimboTheme::positive());

    // An unknown total reads as no figure and is never warm.
    surfaces.host->memory = MemoryUsage{0, 0};
    nextSample();
    EXPECT_EQ(view->memoryMetric()->value(), QStringLiteral("—"));
    EXPECT_EQ(view->memoryMetric()->color(), SurfaceStyle::primary(view->palette()));
}

TEST_F(MenuBarContentViewTest, TheKeepAwakeTileFollowsTheAssertionWhoeverTogglesIt) {
    MenuQuickAction* tile = view->keepAwakeTile();
    EXPECT_EQ(tile->title(), QStringLiteral("Keep Awake"));
    EXPECT_EQ(tile->detail(), QStringLiteral("Off"));
    EXPECT_EQ(tile->symbol(), QStringLiteral("cup.and.heat.waves"));
    EXPECT_EQ(tile->color(), secondary());
    EXPECT_EQ(tile->accessibleName(), QStringLiteral("Keep computer awake"));

    QTest::mouseClick(tile, Qt::LeftButton);
    EXPECT_TRUE(model().keepAwake().isKeepingAwake());
    EXPECT_EQ(tile->title(), QStringLiteral("Awake"));
    EXPECT_EQ(tile->detail(), QStringLiteral("On"));
    EXPECT_EQ(tile->symbol(), QStringLiteral("moon.zzz.fill"));
    EXPECT_EQ(tile->color(), lightPositive);
    EXPECT_EQ(tile->accessibleName(), QStringLiteral("Allow computer to sleep"));

    // From the palette or the notch, say.
    model().keepAwake().toggle();
    EXPECT_EQ(tile->title(), QStringLiteral("Keep Awake"));
    EXPECT_EQ(tile->accessibleName(), QStringLiteral("Keep computer awake"));
}

TEST_F(MenuBarContentViewTest, ActionsOpenTheirSurfacesThroughTheModel) {
    // A started model has window controllers that log what they are asked to do.
    view.reset();
    QFuture<void> started = model().start();
    ASSERT_TRUE(settle([&] { return started.isFinished(); }));
    view = makeView();
    view->setTerminate([this] { ++terminations; });
    const SurfaceLog log = surfaces.h.surfaces->log;
    log->clear();

    model().setSelectedSection(AppSection::ai);
    QTest::mouseClick(view->openAction(), Qt::LeftButton);
    EXPECT_EQ(model().selectedSection(), AppSection::overview);
    EXPECT_TRUE(log->contains(QStringLiteral("dashboard.front")));

    model().setPaletteQuery(QStringLiteral("left over"));
    QTest::mouseClick(view->commandTile(), Qt::LeftButton);
    EXPECT_TRUE(model().paletteQuery().isEmpty());
    EXPECT_TRUE(log->contains(QStringLiteral("palette.show")));

    model().setAiInput(QStringLiteral("draft"));
    QTest::mouseClick(view->assistantTile(), Qt::LeftButton);
    EXPECT_TRUE(model().aiInput().isEmpty());
    EXPECT_TRUE(log->contains(QStringLiteral("mini.show")));

    model().setSelectedSettingsSection(SettingsSection::privacy);
    QTest::mouseClick(view->settingsAction(), Qt::LeftButton);
    EXPECT_EQ(model().selectedSettingsSection(), SettingsSection::general);
    EXPECT_TRUE(log->contains(QStringLiteral("settings.front")));

    QTest::mouseClick(view->aboutAction(), Qt::LeftButton);
    EXPECT_TRUE(log->contains(QStringLiteral("about.front")));

    EXPECT_EQ(terminations, 0);
    QTest::mouseClick(view->exitButton(), Qt::LeftButton);
    EXPECT_EQ(terminations, 1);
}

TEST_F(MenuBarContentViewTest, ControlCommaOpensSettingsAndControlQExits) {
    view->show();
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    model().setSelectedSettingsSection(SettingsSection::privacy);
    QTest::keyClick(view.get(), Qt::Key_Comma, Qt::ControlModifier);
    EXPECT_TRUE(
        settle([&] { return model().selectedSettingsSection() == SettingsSection::general; }));
    QTest::keyClick(view.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(settle([&] { return terminations == 1; }));
    EXPECT_EQ(MenuExitButton::shortcutHint(view->exitButton()->shortcut()),
              QStringLiteral("Ctrl+Q"));
}

TEST_F(MenuBarContentViewTest, TheFixedTextsAndButtonsAreThere) {
    EXPECT_EQ(view->commandTile()->title(), QStringLiteral("Command"));
    EXPECT_EQ(view->commandTile()->detail(), QStringLiteral("Super+Alt+Space"));
    EXPECT_EQ(view->commandTile()->accessibleName(), QStringLiteral("Open Command Palette"));
    EXPECT_EQ(view->assistantTile()->accessibleName(), QStringLiteral("Open Plimbo AI"));
    EXPECT_EQ(view->openAction()->accessibleName(), QStringLiteral("Open Plimbo"));
    EXPECT_EQ(view->openAction()->accessibleDescription(), QStringLiteral("Dashboard & modules"));
    EXPECT_EQ(view->settingsAction()->accessibleName(), QStringLiteral("Settings"));
    EXPECT_EQ(view->aboutAction()->accessibleName(), QStringLiteral("About Plimbo"));
}

TEST_F(MenuBarContentViewTest, TheCommandTileFollowsThePalettesShortcut) {
    surfaces.h.hotKeys->answersLater = true;
    model().retryGlobalShortcuts();
    const quint32 palette = rawValue(PlimboGlobalShortcut::commandPalette);
    surfaces.h.hotKeys->answer(palette, {HotKeyStatus::success, QStringLiteral("Ctrl+F12")});
    EXPECT_EQ(view->commandTile()->detail(), QStringLiteral("Ctrl+F12"));
    surfaces.h.hotKeys->answer(palette, {HotKeyStatus::noShortcutsFacility, {}});
    EXPECT_EQ(view->commandTile()->detail(), QStringLiteral("Unavailable"));
}
