#pragma once

#include "AppSurfaceFactory.h"

#include <QPointer>
#include <QSize>
#include <QString>

#include <memory>

class QWidget;

namespace plimbo {

class NotchWindowController;
class SettingsStore;
class WindowController;

// Builds the application's real windows and panels with Qt Widgets. The dashboard and settings
// windows keep their frames in `settings`. The notch surface is not built here yet: the model
// skips it.
class WidgetSurfaceFactory final : public AppSurfaceFactory {
public:
    explicit WidgetSurfaceFactory(std::shared_ptr<SettingsStore> settings);

    std::unique_ptr<QuickPanelController>
    makeCommandPalette(AppModel& model, GlobalSurfaceFocusCoordinator& focus) override;
    std::unique_ptr<QuickPanelController>
    makeLauncher(AppModel& model, GlobalSurfaceFocusCoordinator& focus) override;
    std::unique_ptr<QuickPanelController>
    makeClipboard(AppModel& model, GlobalSurfaceFocusCoordinator& focus) override;
    std::unique_ptr<AppWindowController> makeDashboard(AppModel& model) override;
    std::unique_ptr<AppWindowController> makeSettings(AppModel& model) override;
    std::unique_ptr<AppWindowController> makeAbout() override;
    std::unique_ptr<AppWindowController> makeMenuPreview(AppModel& model) override;
    std::unique_ptr<MiniAIController> makeMiniAI(AppModel& model) override;
    std::unique_ptr<NotchController> makeNotch(AppModel& model) override;

    static constexpr QSize dashboardSize{1060, 720};
    static constexpr QSize dashboardMinimumSize{820, 600};
    static constexpr QSize settingsSize{820, 620};
    static constexpr QSize settingsMinimumSize{760, 560};
    static constexpr QSize menuPreviewSize{372, 500};
    static inline const QString dashboardFrameName = QStringLiteral("PlimboDashboard");
    static inline const QString settingsFrameName = QStringLiteral("PlimboSettings");

private:
    // Centred windows stay clear of the notch made here, whenever it is made.
    void keepClearOfNotch(WindowController& controller) const;

    std::shared_ptr<SettingsStore> m_settings;
    std::shared_ptr<QPointer<NotchWindowController>> m_notch;
};

} // namespace plimbo
