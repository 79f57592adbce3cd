#pragma once

#include "ModuleRecord.h"

#include <QWidget>

#include <functional>

class QLabel;

namespace plimbo {

class SettingsSwitch;

// One module of the overview: its symbol, name, capability note, health, resource detail and
// on/off switch. The switch shows the record it was given; a change only calls `setEnabled`,
// and the row follows when the registry publishes the changed record (setRecord).
class ModuleRow : public QWidget {
    Q_OBJECT

public:
    ModuleRow(const ModuleRecord& record, std::function<void(bool)> setEnabled,
              QWidget* parent = nullptr);

    ModuleRecord record() const { return m_record; }
    void setRecord(const ModuleRecord& record);

    SettingsSwitch* toggle() const { return m_toggle; }
    QLabel* nameLabel() const { return m_name; }
    // Hidden for an available module.
    QLabel* capabilityLabel() const { return m_capability; }
    QLabel* healthLabel() const { return m_health; }
    QLabel* detailLabel() const { return m_detail; }
    QColor iconColor() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void refresh();

    ModuleRecord m_record;
    std::function<void(bool)> m_setEnabled;
    QLabel* m_icon;
    QLabel* m_name;
    QLabel* m_capability;
    QLabel* m_health;
    QLabel* m_detail;
    SettingsSwitch* m_toggle;
};

} // namespace plimbo
