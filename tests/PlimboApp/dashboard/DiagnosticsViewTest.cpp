#include "DiagnosticsView.h"
#include "DashboardHarness.h"

#include <gtest/gtest.h>

using namespace plimbo;
using namespace plimbo::test;

namespace {

TEST(DiagnosticsViewTest, TaskCountHasNoSingularForm) {
    EXPECT_EQ(DiagnosticsView::taskCount(0), QStringLiteral("0 tasks"));
    EXPECT_EQ(DiagnosticsView::taskCount(1), QStringLiteral("1 tasks"));
    EXPECT_EQ(DiagnosticsView::taskCount(12), QStringLiteral("12 tasks"));
}

TEST(DiagnosticsViewTest, RowsFollowTheRegistryRecords) {
    DashboardHarness harness;
    AppModel& model = harness.make();
    DiagnosticsView view(model.registry());
    view.show();

    const QList<DiagnosticsView::RowTexts> initial = view.rowTexts();
    ASSERT_EQ(initial.size(), 4);
    EXPECT_EQ(initial[0].name, QStringLiteral("Clipboard"));
    EXPECT_EQ(initial[3].name, QStringLiteral("System Monitor"));
    for (const auto& row : initial) {
        EXPECT_EQ(row.health, QStringLiteral("Stopped"));
        EXPECT_EQ(row.tasks, QStringLiteral("0 tasks"));
    }

    model.setModuleEnabled(true, QStringLiteral("system-monitor"));
    ASSERT_TRUE(settle([&] {
        const ModuleRecord record = harness.record(QStringLiteral("system-monitor"));
        return record.health.kind() != ModuleHealth::Kind::stopped &&
               record.health.kind() != ModuleHealth::Kind::starting;
    }));
    const ModuleRecord monitor = harness.record(QStringLiteral("system-monitor"));
    EXPECT_EQ(view.rowTexts()[3].health, monitor.health.label());
    EXPECT_EQ(view.rowTexts()[3].tasks,
              DiagnosticsView::taskCount(monitor.resourceUsage.activeTasks));

    model.setModuleEnabled(false, QStringLiteral("system-monitor"));
    ASSERT_TRUE(settle([&] { return view.rowTexts()[3].health == QStringLiteral("Stopped"); }));
    EXPECT_EQ(view.rowTexts()[3].tasks, QStringLiteral("0 tasks"));
}

} // namespace
