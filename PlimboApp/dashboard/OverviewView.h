#pragma once

#include <QList>
#include <QScrollArea>

class QLabel;
class QVBoxLayout;

namespace plimbo {

class GlobalShortcuts;
class ModuleRegistry;
class ModuleRow;
class StatusPill;
class SystemMonitorService;

// The dashboard's first section: a greeting with the palette's shortcut, four live system
// metrics and one row per registered module whose switch turns the module on or off. Follows
// the registry's records, the monitor's snapshot and the shortcut's keys as they change.
class OverviewView : public QScrollArea {
    Q_OBJECT

public:
    OverviewView(ModuleRegistry& registry, SystemMonitorService& monitor,
                 GlobalShortcuts& shortcuts, QWidget* parent = nullptr);

    QList<ModuleRow*> moduleRows() const { return m_rows; }
    // The four tiles' value texts.
    QLabel* cpuValue() const { return m_cpu; }
    QLabel* memoryValue() const { return m_memory; }
    QLabel* thermalValue() const { return m_thermal; }
    QLabel* uptimeValue() const { return m_uptime; }
    // The palette's shortcut in the header.
    StatusPill* shortcutPill() const { return m_shortcutPill; }
    // Dividers between module rows currently shown.
    int moduleDividerCount() const { return static_cast<int>(m_dividers.size()); }

    static constexpr int maximumContentWidth = 920;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* systemField();
    QWidget* liveMetric(QLabel*& value, const QString& label, const QString& symbol);
    void refreshMetrics();
    void sampleArrived();
    void refreshModules();

    ModuleRegistry& m_registry;
    SystemMonitorService& m_monitor;
    GlobalShortcuts& m_shortcuts;
    QLabel* m_cpu = nullptr;
    QLabel* m_memory = nullptr;
    QLabel* m_thermal = nullptr;
    QLabel* m_uptime = nullptr;
    StatusPill* m_shortcutPill = nullptr;
    QVBoxLayout* m_modules = nullptr;
    QList<ModuleRow*> m_rows;
    QList<QWidget*> m_dividers;
    // A sample came while the view was hidden; it is shown at the next show.
    bool m_sampleWaiting = false;
};

} // namespace plimbo
