#include "OverviewView.h"
#include "DashboardHarness.h"
#include "HotKeyBackend.h"
#include "ModuleRow.h"
#include "PlimboTheme.h"
#include "SettingsSwitch.h"
#include "StatusPill.h"

#include <gtest/gtest.h>

#include <QLabel>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class OverviewViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        harness.make();
        view = std::make_unique<OverviewView>(
            harness.model->registry(), harness.model->systemMonitor(), harness.model->shortcuts());
        view->resize(900, 700);
        view->show();
    }

    ModuleRow* row(const QString& id) const {
        for (ModuleRow* row : view->moduleRows()) {
            if (row->record().id() == id) {
                return row;
            }
        }
        return nullptr;
    }

    DashboardHarness harness;
    std::unique_ptr<OverviewView> view;
};

TEST_F(OverviewViewTest, ListsTheRegisteredModulesByNameWithDividersBetween) {
    QStringList names;
    for (ModuleRow* row : view->moduleRows()) {
        names.append(row->nameLabel()->text());
    }
    EXPECT_EQ(names, (QStringList{QStringLiteral("Clipboard"), QStringLiteral("Keep Awake"),
                                  QStringLiteral("Launcher"), QStringLiteral("System Monitor")}));
    EXPECT_EQ(view->moduleDividerCount(), 3);
    for (ModuleRow* row : view->moduleRows()) {
        EXPECT_FALSE(row->capabilityLabel()->isVisibleTo(row)) << "all four are available";
        EXPECT_EQ(row->healthLabel()->text(), QStringLiteral("Stopped"));
        EXPECT_TRUE(row->toggle()->isOn());
        EXPECT_EQ(row->toggle()->accessibleName(),
                  QStringLiteral("Enable ") + row->nameLabel()->text());
    }
}

TEST_F(OverviewViewTest, SwitchingAModuleFromItsRowStopsAndStartsItAndKeepsTheSwitch) {
    AppModel& model = *harness.model;
    model.setModuleEnabled(true, QStringLiteral("system-monitor"));
    ASSERT_TRUE(settle([&] { return model.systemMonitor().isRunning(); }));
    ModuleRow* monitor = row(QStringLiteral("system-monitor"));
    ASSERT_NE(monitor, nullptr);
    ASSERT_TRUE(
        settle([&] { return monitor->healthLabel()->text() != QStringLiteral("Starting"); }));

    clickOn(monitor->toggle());
    // The switch follows the record at once; the module stops afterwards.
    EXPECT_FALSE(monitor->toggle()->isOn());
    EXPECT_EQ(harness.h.settings->value(QStringLiteral("modules.system-monitor.enabled")),
              QVariant(false));
    ASSERT_TRUE(settle([&] { return !model.systemMonitor().isRunning(); }));
    ASSERT_TRUE(
        settle([&] { return monitor->healthLabel()->text() == QStringLiteral("Stopped"); }));
    EXPECT_EQ(monitor->detailLabel()->text(), QStringLiteral("Idle"));
    EXPECT_EQ(monitor->toggle()->accessibleDescription(), QStringLiteral("Disabled"));
    EXPECT_NE(monitor->iconColor(), PlimboTheme::accent());
    EXPECT_EQ(row(QStringLiteral("system-monitor")), monitor) << "updated in place, not rebuilt";

    clickOn(monitor->toggle());
    EXPECT_TRUE(monitor->toggle()->isOn());
    EXPECT_EQ(harness.h.settings->value(QStringLiteral("modules.system-monitor.enabled")),
              QVariant(true));
    ASSERT_TRUE(settle([&] { return model.systemMonitor().isRunning(); }));
    EXPECT_EQ(monitor->iconColor(), PlimboTheme::accent());
    EXPECT_EQ(monitor->toggle()->accessibleDescription(), QStringLiteral("Enabled"));
}

TEST_F(OverviewViewTest, MetricsStartFromTheEmptySnapshotAndFollowNewSamples) {
    EXPECT_EQ(view->cpuValue()->text(), QStringLiteral("0%"));
    EXPECT_EQ(view->memoryValue()->text(), QStringLiteral("—"));
    EXPECT_EQ(view->thermalValue()->text(), QStringLiteral("Nominal"));
    EXPECT_EQ(view->uptimeValue()->text(), QStringLiteral("0h"));

    harness.host->memory = {8ULL << 30, 16ULL << 30};
    harness.host->uptimeSeconds = 176400;
    harness.host->thermal = ThermalLevel::serious;
    harness.model->systemMonitor().start();
    ASSERT_TRUE(settle([&] { return view->memoryValue()->text() == QStringLiteral("50%"); }));
    EXPECT_EQ(view->uptimeValue()->text(), QStringLiteral("2d"));
    EXPECT_EQ(view->thermalValue()->text(), QStringLiteral("Serious"));

    // Stopping the monitor leaves the last sample on screen.
    harness.model->systemMonitor().stop();
    harness.host->memory = {1ULL << 30, 16ULL << 30};
    spin(50);
    EXPECT_EQ(view->memoryValue()->text(), QStringLiteral("50%"));
}

TEST_F(OverviewViewTest, SamplesWhileTheDashboardIsClosedWaitForTheNextShow) {
    view->hide();
    harness.host->memory = {8ULL << 30, 16ULL << 30};
    harness.model->systemMonitor().start();
    ASSERT_EQ(harness.model->systemMonitor().snapshot().memoryUsed, 8ULL << 30);
    spin(20);
    EXPECT_EQ(view->memoryValue()->text(), QStringLiteral("—"));

    view->show();
    EXPECT_EQ(view->memoryValue()->text(), QStringLiteral("50%"));
}

TEST(ModuleRowTest, TheSwitchOnlyAsksAndShowsTheRecordItWasGiven) {
    ModuleRecord record;
    record.manifest = {QStringLiteral("sample"),
                       QStringLiteral("Sample"),
                       QStringLiteral("A test"),
                       QStringLiteral("cpu"),
                       PlimboCapabilityStatus::experimental,
                       false};
    record.isEnabled = true;
    record.health = ModuleHealth::healthy(QStringLiteral("All good"));
    record.resourceUsage = {2, QStringLiteral("Two loops")};
    QList<bool> asked;
    ModuleRow row(record, [&](bool on) { asked.append(on); });
    row.show();

    EXPECT_TRUE(row.capabilityLabel()->isVisible());
    EXPECT_EQ(row.capabilityLabel()->text(), QStringLiteral("Experimental"));
    EXPECT_EQ(row.healthLabel()->text(), QStringLiteral("All good"));
    EXPECT_EQ(row.detailLabel()->text(), QStringLiteral("Two loops"));

    clickOn(row.toggle());
    clickOn(row.toggle());
    EXPECT_EQ(asked, (QList<bool>{false, false})) << "nothing changed the record in between";
    EXPECT_TRUE(row.toggle()->isOn());

    record.isEnabled = false;
    record.health = ModuleHealth::stopped();
    record.manifest.capability = PlimboCapabilityStatus::available;
    row.setRecord(record);
    EXPECT_FALSE(row.toggle()->isOn());
    EXPECT_FALSE(row.capabilityLabel()->isVisible());
    EXPECT_EQ(row.healthLabel()->text(), QStringLiteral("Stopped"));
}

} // namespace

TEST_F(OverviewViewTest, ThePillFollowsThePalettesShortcut) {
    EXPECT_EQ(view->shortcutPill()->text(), QStringLiteral("Super+Alt+Space"));
    harness.h.hotKeys->answersLater = true;
    harness.model->retryGlobalShortcuts();
    const quint32 palette = rawValue(PlimboGlobalShortcut::commandPalette);
    harness.h.hotKeys->answer(palette, {HotKeyStatus::noKeys, {}});
    EXPECT_EQ(view->shortcutPill()->text(), QStringLiteral("No keys"));
    harness.h.hotKeys->answer(palette, {HotKeyStatus::success, QStringLiteral("Meta+Space")});
    EXPECT_EQ(view->shortcutPill()->text(), QStringLiteral("Super+Space"));
}
