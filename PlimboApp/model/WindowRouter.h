#pragma once

#include "AppSection.h"
#include "SettingsSection.h"

#include <QObject>

#include <functional>
#include <memory>

namespace plimbo {

class AppWindowController;
class GlobalSurfaceFocusCoordinator;
class MiniAIController;
class NotchController;
class QuickPanelController;

// The windows and panels: creates their controllers (once, at start-up), keeps the dashboard's
// and the settings' selected section, and shows one quick panel at a time. Main thread only.
// Without makers (tests, headless runs) every controller stays null and each show only updates
// the sections.
class WindowRouter : public QObject {
    Q_OBJECT

public:
    // One maker per controller: the shell's surface factory, bound by the model to what the
    // views show. An empty maker builds nothing; a maker may also return null.
    template <class Controller> using Maker = std::function<std::unique_ptr<Controller>()>;
    struct Makers {
        Maker<QuickPanelController> palette;
        Maker<QuickPanelController> launcher;
        Maker<QuickPanelController> clipboard;
        Maker<AppWindowController> dashboard;
        Maker<AppWindowController> settings;
        Maker<AppWindowController> about;
        Maker<AppWindowController> menuPreview;
        Maker<MiniAIController> miniAI;
        Maker<NotchController> notch;
    };

    WindowRouter(Makers makers, GlobalSurfaceFocusCoordinator& focus, QObject* parent = nullptr);
    ~WindowRouter() override;

    // Builds every controller but the menu preview's.
    void createControllers();
    // Closes every window, the last built first; the model does this before it takes its
    // features apart, so that no view outlives what it shows.
    void destroyControllers();
    // A preview run of the mini assistant builds that panel only.
    void createMiniAI();
    void createMenuPreview();

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
    Makers m_makers;
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
