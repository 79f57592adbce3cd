#pragma once

#include "AppSection.h"
#include "SettingsSection.h"

#include <QObject>

#include <memory>

namespace plimbo {

class AppModel;
class AppSurfaceFactory;
class AppWindowController;
class GlobalSurfaceFocusCoordinator;
class MiniAIController;
class NotchController;
class QuickPanelController;

// The windows and panels: creates their controllers (once, at start-up), keeps the dashboard's
// and the settings' selected section, and shows one quick panel at a time. Main thread only.
// Without a surface factory (tests, headless runs) every controller stays null and each show
// only updates the sections.
class WindowRouter : public QObject {
    Q_OBJECT

public:
    WindowRouter(AppSurfaceFactory* surfaces, GlobalSurfaceFocusCoordinator& focus,
                 QObject* parent = nullptr);
    ~WindowRouter() override;

    // Builds every controller for `model`, the object the views bind to.
    void createControllers(AppModel& model);
    // Closes every window, the last built first; the model does this before it takes its
    // features apart, so that no view outlives what it shows.
    void destroyControllers();
    // A preview run of the mini assistant builds that panel only.
    void createMiniAI(AppModel& model);
    void createMenuPreview(AppModel& model);

    QuickPanelController* palette() const { return m_palette.get(); }
    QuickPanelController* launcher() const { return m_launcher.get(); }
    QuickPanelController* clipboard() const { return m_clipboard.get(); }
    AppWindowController* dashboard() const { return m_dashboard.get(); }
    AppWindowController* settings() const { return m_settings.get(); }
    AppWindowController* about() const { return m_about.get(); }
    AppWindowController* menuPreview() const { return m_menuPreview.get(); }
    MiniAIController* miniAI() const { return m_miniAI.get(); }
    NotchController* notch() const { return m_notch.get(); }

    AppSection selectedSection() const { return m_selectedSection; }
    void setSelectedSection(AppSection section);
    SettingsSection selectedSettingsSection() const { return m_selectedSettingsSection; }
    void setSelectedSettingsSection(SettingsSection section);

    void showDashboard(AppSection section);
    void openSettings(SettingsSection section);
    void showAbout();
    void showMenuPreview();
    // Shows `panel` (the palette's, the launcher's or the clipboard's; null shows none) in place
    // of the others, after noting which application to give the focus back to.
    void showQuickPanel(QuickPanelController* panel);
    void hideQuickPanel(QuickPanelController* panel);
    void showMiniAI();

signals:
    void selectedSectionChanged();
    void selectedSettingsSectionChanged();

private:
    AppSurfaceFactory* m_surfaces;
    GlobalSurfaceFocusCoordinator& m_focus;
    AppSection m_selectedSection = AppSection::overview;
    SettingsSection m_selectedSettingsSection = SettingsSection::general;

    std::unique_ptr<QuickPanelController> m_palette;
    std::unique_ptr<QuickPanelController> m_launcher;
    std::unique_ptr<QuickPanelController> m_clipboard;
    std::unique_ptr<AppWindowController> m_dashboard;
    std::unique_ptr<AppWindowController> m_settings;
    std::unique_ptr<AppWindowController> m_about;
    std::unique_ptr<MiniAIController> m_miniAI;
    std::unique_ptr<AppWindowController> m_menuPreview;
    std::unique_ptr<NotchController> m_notch;
};

} // namespace plimbo
