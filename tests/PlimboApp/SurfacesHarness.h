#pragma once

#include "AppModelHarness.h"
#include "ClipboardService.h"
#include "DesktopEntry.h"
#include "LauncherService.h"
#include "SelectableRow.h"
#include "SelectableRowList.h"
#include "SystemMonitorService.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>

#include <chrono>
#include <memory>

namespace plimbo::test {

// An application model on in-memory services for the command surfaces: a clipboard whose
// in-memory board the test can copy to and read back, a launcher on fake desktop entries and
// a system monitor on fake host figures. The model is not started unless asked.
struct SurfacesHarness {
    AppModelHarness h;
    InMemoryPasteboard* board = nullptr;
    std::shared_ptr<FakeHostStatistics> host = std::make_shared<FakeHostStatistics>();
    std::unique_ptr<AppModel> model;

    AppModel& make() {
        AppModelDependencies dependencies = h.dependencies();
        board = AppModelHarness::usePolledClipboard(dependencies);
        dependencies.systemMonitor = std::make_shared<SystemMonitorService>(host);
        model = std::make_unique<AppModel>(std::move(dependencies));
        settle([&] { return model->isAIHistoryLoaded(); });
        return *model;
    }

    // Another application copies `text`; returns once the history has taken it.
    void copy(const QString& text) {
        ASSERT_TRUE(AppModelHarness::copyToClipboard(*model, *board, text)) << text.toStdString();
    }

    static DesktopEntry entry(const QString& name) {
        DesktopEntry entry;
        entry.id = name.toLower() + QStringLiteral(".desktop");
        entry.path = QStringLiteral("/usr/share/applications/") + entry.id;
        entry.type = QStringLiteral("Application");
        entry.name = name;
        entry.exec = name.toLower();
        return entry;
    }

    // Indexes these applications (rescanning when the launcher already runs).
    void index(const QStringList& names) {
        QList<DesktopEntry> entries;
        for (const QString& name : names) {
            entries.append(entry(name));
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

// Sends one key press to `widget`; true when something accepted it.
inline bool pressKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QCoreApplication::sendEvent(widget, &release);
    return press.isAccepted();
}

inline QStringList rowIDs(const SelectableRowList* list) {
    QStringList ids;
    for (const SelectableRow* row : list->rows()) {
        ids.append(row->id());
    }
    return ids;
}

inline QStringList selectedRows(const SelectableRowList* list) {
    QStringList ids;
    for (const SelectableRow* row : list->rows()) {
        if (row->isSelected()) {
            ids.append(row->id());
        }
    }
    return ids;
}

inline void clickRow(SelectableRowList* list, const QString& id) {
    SelectableRow* row = list->row(id);
    ASSERT_NE(row, nullptr) << id.toStdString();
    QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(row->width() - 4, row->height() / 2));
}

} // namespace plimbo::test
