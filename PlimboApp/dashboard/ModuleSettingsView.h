#pragma once

#include "ModuleRecord.h"

#include <QList>
#include <QWidget>

class QLabel;

namespace plimbo {

class ModuleRegistry;
class SettingsForm;
class SettingsSwitch;

// The settings' Modules tab: one switch per registered module, with its name and summary, in
// the registry's order. The switches follow the registry's records.
class ModuleSettingsView : public QWidget {
    Q_OBJECT

public:
    explicit ModuleSettingsView(ModuleRegistry& registry, QWidget* parent = nullptr);

    SettingsForm* form() const { return m_form; }
    // The switch of each listed module, in order, with the module's id.
    QList<SettingsSwitch*> switches() const;
    QStringList listedIds() const;
    SettingsSwitch* switchFor(const QString& id) const;

private:
    struct Row {
        QString id;
        QLabel* name = nullptr;
        QLabel* summary = nullptr;
        SettingsSwitch* toggle = nullptr;
    };

    void refresh();

    ModuleRegistry& m_registry;
    SettingsForm* m_form;
    QList<Row> m_rows;
};

} // namespace plimbo
