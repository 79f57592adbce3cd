#pragma once

#include "AppModelHarness.h"
#include "ClipboardService.h"
#include "DesktopEntry.h"
#include "FakeHostStatistics.h"
#include "FakePermissionBackend.h"
#include "LauncherService.h"
#include "ModuleRegistry.h"
#include "PermissionCenter.h"
#include "SystemMonitorService.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>

#include <chrono>
#include <memory>

namespace plimbo::test {

// An application model for the dashboard and settings views, on in-memory services whose fakes
// the test keeps: the permission backend, the host figures behind the system monitor and the
// clipboard's board. The model is started only when a test asks.
struct DashboardHarness {
    AppModelHarness h;
    std::shared_ptr<FakePermissionBackend> permissionBackend =
        std::make_shared<FakePermissionBackend>();
    std::shared_ptr<FakeHostStatistics> host = std::make_shared<FakeHostStatistics>();
    InMemoryPasteboard* board = nullptr;
    std::unique_ptr<AppModel> model;

    AppModel& make() {
        AppModelDependencies dependencies = h.dependencies();
        board = AppModelHarness::usePolledClipboard(dependencies);
        dependencies.systemMonitor = std::make_shared<SystemMonitorService>(host);
        dependencies.permissions = std::make_shared<PermissionCenter>(permissionBackend);
        model = std::make_unique<AppModel>(std::move(dependencies));
        settle([&] { return model->isAIHistoryLoaded(); });
        return *model;
    }

    // Runs start-up (controllers, shortcuts, modules) to its end.
    void start() {
        QFuture<void> done = model->start();
        ASSERT_TRUE(settle([&] { return done.isFinished(); }));
    }

    ModuleRecord record(const QString& id) const {
        for (const ModuleRecord& record : model->registry().records()) {
            if (record.id() == id) {
                return record;
            }
        }
        return {};
    }

    // Another application copies `text`; returns once the history has it.
    void copy(const QString& text) {
        ASSERT_TRUE(AppModelHarness::copyToClipboard(*model, *board, text));
    }

    // Indexes these applications (rescanning when the launcher already runs).
    void index(const QStringList& names) {
        QList<DesktopEntry> entries;
        for (const QString& name : names) {
            DesktopEntry entry;
            entry.id = name.toLower().remove(QLatin1Char(' ')) + QStringLiteral(".desktop");
            entry.path = QStringLiteral("/usr/share/applications/") + entry.id;
            entry.type = QStringLiteral("Application");
            entry.name = name;
            entry.exec = name.toLower();
            entries.append(entry);
        }
        h.folders->setEntries(entries);
        LauncherService& launcher = model->launcher();
        if (launcher.isRunning()) {
            launcher.stop();
        }
        QFuture<void> started = launcher.start();
        ASSERT_TRUE(settle([&] { return started.isFinished() && !launcher.isIndexing(); }));
    }
};

// A real mouse click in the middle of the control, once pending layouts have run.
inline void clickOn(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    QCoreApplication::sendPostedEvents();
    ASSERT_FALSE(widget->rect().isEmpty()) << "nothing to click on";
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

} // namespace plimbo::test
