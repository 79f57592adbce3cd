#pragma once

#include <QWidget>

#include <functional>

namespace plimbo {

class GlobalShortcuts;
class KeepAwakeService;
class MenuExitButton;
class MenuMetricColumn;
class MenuPrimaryAction;
class MenuQuickAction;
class MenuUtilityAction;
class MonitorStatusPill;
class StatusDot;
class SurfaceText;
class SystemMonitorService;

// The menu-bar item's panel: the brand header with the system monitor's state, the "System
// pulse" card (uptime, CPU, memory, thermal state), the main actions (dashboard, command
// palette, assistant, keep-awake) and the utility row (Settings on Ctrl+Comma, About, Exit on
// Ctrl+Q). It keeps nothing of its own: every text and colour is worked out again from the
// monitor's snapshot, the monitor's running flag and the keep-awake flag whenever one of them,
// the palette or the locale changes. What the buttons open is the shell's (`Actions`).
class MenuBarContentView : public QWidget {
    Q_OBJECT

public:
    static constexpr int panelWidth = 372;

    // The surfaces the buttons open.
    struct Actions {
        std::function<void()> showDashboard;
        std::function<void()> showCommandPalette;
        std::function<void()> showMiniAI;
        std::function<void()> openSettings;
        std::function<void()> showAbout;
    };

    MenuBarContentView(SystemMonitorService& monitor, KeepAwakeService& keepAwake,
                       const GlobalShortcuts& shortcuts, Actions actions,
                       QWidget* parent = nullptr);

    // What Exit does; quits the application unless replaced.
    void setTerminate(std::function<void()> terminate);
    // What closes the menu holding this panel; run before every action that opens another
    // surface (dashboard, palette, assistant, settings, about), never for keep-awake.
    void setCloseMenu(std::function<void()> closeMenu);

    MonitorStatusPill* monitorPill() const { return m_pill; }
    SurfaceText* uptimeText() const { return m_uptime; }
    QWidget* uptimeGroup() const { return m_uptimeGroup; }
    MenuMetricColumn* cpuMetric() const { return m_cpu; }
    MenuMetricColumn* memoryMetric() const { return m_memory; }
    MenuMetricColumn* thermalMetric() const { return m_thermal; }
    SurfaceText* pulseFooter() const { return m_pulseFooter; }
    MenuPrimaryAction* openAction() const { return m_open; }
    MenuQuickAction* commandTile() const { return m_commandTile; }
    MenuQuickAction* assistantTile() const { return m_assistantTile; }
    MenuQuickAction* keepAwakeTile() const { return m_keepAwakeTile; }
    MenuUtilityAction* settingsAction() const { return m_settings; }
    MenuUtilityAction* aboutAction() const { return m_about; }
    MenuExitButton* exitButton() const { return m_exit; }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildSystemPreview();
    QWidget* buildActionArea();
    QWidget* buildUtilityArea();
    void refresh();
    void sampleArrived();

    SystemMonitorService& m_monitor;
    KeepAwakeService& m_keepAwake;
    const GlobalShortcuts& m_shortcuts;
    Actions m_actions;
    std::function<void()> m_terminate;
    std::function<void()> m_closeMenu;

    QWidget* m_brandTile = nullptr;
    QWidget* m_card = nullptr;
    MonitorStatusPill* m_pill = nullptr;
    QWidget* m_uptimeGroup = nullptr;
    SurfaceText* m_uptime = nullptr;
    MenuMetricColumn* m_cpu = nullptr;
    MenuMetricColumn* m_memory = nullptr;
    MenuMetricColumn* m_thermal = nullptr;
    StatusDot* m_pulseDot = nullptr;
    SurfaceText* m_pulseFooter = nullptr;
    MenuPrimaryAction* m_open = nullptr;
    MenuQuickAction* m_commandTile = nullptr;
    MenuQuickAction* m_assistantTile = nullptr;
    MenuQuickAction* m_keepAwakeTile = nullptr;
    MenuUtilityAction* m_settings = nullptr;
    MenuUtilityAction* m_about = nullptr;
    MenuExitButton* m_exit = nullptr;
    bool m_refreshing = false;
    // A sample came while the panel was hidden; it is shown at the next show.
    bool m_sampleWaiting = false;
};

} // namespace plimbo
