#pragma once

#include "ModuleRecord.h"

#include <QList>
#include <QWidget>

class QLabel;

namespace plimbo {

class ModuleRegistry;
class DashboardList;

// The dashboard's diagnostics section: every registered module with its health and its count
// of active tasks, following the registry's records.
class DiagnosticsView : public QWidget {
    Q_OBJECT

public:
    explicit DiagnosticsView(ModuleRegistry& registry, QWidget* parent = nullptr);

    DashboardList* list() const { return m_list; }
    // Per listed module, in order: name, health text and task count text.
    struct RowTexts {
        QString name;
        QString health;
        QString tasks;
    };
    QList<RowTexts> rowTexts() const;

    // "3 tasks"; one task reads "1 tasks" as well.
    static QString taskCount(qint64 activeTasks);

private:
    struct Row {
        QString id;
        QLabel* name = nullptr;
        QLabel* health = nullptr;
        QLabel* tasks = nullptr;
    };

    void refresh();

    ModuleRegistry& m_registry;
    DashboardList* m_list;
    QList<Row> m_rows;
};

} // namespace plimbo
