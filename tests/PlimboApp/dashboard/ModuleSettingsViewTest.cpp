#include "ModuleSettingsView.h"
#include "DashboardHarness.h"
#include "ModuleRow.h"
#include "OverviewView.h"
#include "SettingsForm.h"
#include "SettingsSwitch.h"

#include <gtest/gtest.h>

#include <QLabel>

using namespace plimbo;
using namespace plimbo::test;

namespace {

TEST(ModuleSettingsViewTest, ListsTheRegisteredModulesByNameWithTheirSummaries) {
    DashboardHarness harness;
    ModuleSettingsView view(harness.make().registry());
    view.show();
    EXPECT_EQ(view.form()->sectionTitles(), QStringList{QStringLiteral("Enabled modules")});
    EXPECT_EQ(view.listedIds(),
              (QStringList{QStringLiteral("clipboard"), QStringLiteral("keep-awake"),
                           QStringLiteral("launcher"), QStringLiteral("system-monitor")}));
    QStringList texts;
    for (QLabel* label : view.findChildren<QLabel*>()) {
        texts.append(label->text());
    }
    for (const ModuleRecord& record : harness.model->registry().records()) {
        EXPECT_TRUE(texts.contains(record.manifest.name));
        EXPECT_TRUE(texts.contains(record.manifest.summary));
    }
}

TEST(ModuleSettingsViewTest, ASwitchActsThroughTheRegistryAndTheOverviewAgrees) {
    DashboardHarness harness;
    AppModel& model = harness.make();
    ModuleSettingsView settings(model.registry());
    settings.show();
    OverviewView overview(model.registry(), model.systemMonitor(), model.shortcuts());
    overview.show();
    model.setModuleEnabled(true, QStringLiteral("clipboard"));
    ASSERT_TRUE(settle([&] { return model.clipboard().isRunning(); }));

    SettingsSwitch* toggle = settings.switchFor(QStringLiteral("clipboard"));
    ASSERT_NE(toggle, nullptr);
    EXPECT_TRUE(toggle->isOn());
    clickOn(toggle);
    // Turned at once, stored, and the module stopped after.
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(harness.h.settings->value(QStringLiteral("modules.clipboard.enabled")),
              QVariant(false));
    ASSERT_TRUE(settle([&] { return !model.clipboard().isRunning(); }));
    EXPECT_FALSE(overview.moduleRows().first()->toggle()->isOn());

    // And back on from the overview: the settings switch follows.
    clickOn(overview.moduleRows().first()->toggle());
    EXPECT_TRUE(toggle->isOn());
    ASSERT_TRUE(settle([&] { return model.clipboard().isRunning(); }));
}

} // namespace
