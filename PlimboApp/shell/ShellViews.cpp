#include "ShellViews.h"

#include "AIWorkbenchView.h"
#include "AboutView.h"
#include "AppModel.h"
#include "ApplicationRecord.h"
#include "ClipboardHistoryView.h"
#include "ClipboardQuickAccessView.h"
#include "CommandPaletteView.h"
#include "DashboardView.h"
#include "DiagnosticsView.h"
#include "GeneralSettingsView.h"
#include "LauncherQuickAccessView.h"
#include "LauncherView.h"
#include "MenuBarContentView.h"
#include "MiniAIView.h"
#include "ModuleRegistry.h"
#include "ModuleSettingsView.h"
#include "OpenRouterSettingsView.h"
#include "OverviewView.h"
#include "PermissionsView.h"
#include "PresentedErrorAlert.h"
#include "PrivacySettingsView.h"
#include "SettingsView.h"

namespace plimbo {

QWidget* ShellViews::menuBarContent(AppModel& model, std::function<void()> closeMenu) {
    auto* view =
        new MenuBarContentView(model.systemMonitor(), model.keepAwake(), model.shortcuts(),
                               MenuBarContentView::Actions{
                                   [&model] { model.showDashboard(AppSection::overview); },
                                   [&model] { model.showCommandPalette(); },
                                   [&model] { model.showMiniAI(); },
                                   [&model] { model.openSettings(SettingsSection::general); },
                                   [&model] { model.showAbout(); },
                               });
    view->setCloseMenu(std::move(closeMenu));
    return view;
}

QWidget* ShellViews::commandPalette(CommandPalette& palette,
                                    std::function<void(const PaletteItem&)> perform,
                                    std::function<void()> dismiss) {
    return new CommandPaletteView(palette, std::move(perform), std::move(dismiss));
}

QWidget* ShellViews::launcherQuickAccess(LauncherService& launcher,
                                         const GlobalShortcuts& shortcuts,
                                         std::function<void()> dismiss,
                                         std::function<void(const ApplicationRecord&)> open) {
    return new LauncherQuickAccessView(launcher, shortcuts, std::move(dismiss), std::move(open));
}

QWidget* ShellViews::clipboardQuickAccess(ClipboardService& clipboard,
                                          const GlobalShortcuts& shortcuts,
                                          std::function<void()> dismiss) {
    return new ClipboardQuickAccessView(clipboard, shortcuts, std::move(dismiss));
}

MiniAIView* ShellViews::miniAI(AppModel& model, std::function<void()> onBeginConversation,
                               std::function<void()> onOpenAllChats,
                               std::function<void()> onClose) {
    auto* view = new MiniAIView(model.chatFeatures(), std::move(onBeginConversation),
                                std::move(onOpenAllChats), std::move(onClose));
    // The model's error shows over the assistant while it is on screen; the alert goes with it.
    new PresentedErrorAlert(model.errors(), model.globalSurfaceFocus(), *view,
                            MiniAIView::tr("Plimbo AI"));
    return view;
}

QWidget* ShellViews::dashboard(AppModel& model) {
    return new DashboardView(
        model.windows(), model.errors(), model.globalSurfaceFocus(),
        [&model] { model.showCommandPalette(); },
        [&model](AppSection section, QWidget* parent) -> QWidget* {
            switch (section) {
            case AppSection::overview:
                return new OverviewView(model.registry(), model.systemMonitor(), model.shortcuts(),
                                        parent);
            case AppSection::launcher:
                return new LauncherView(model.launcher(), parent);
            case AppSection::clipboard:
                return new ClipboardHistoryView(model.clipboard(), parent);
            case AppSection::ai:
                return new AIWorkbenchView(model.chatFeatures(), nullptr, parent);
            case AppSection::permissions:
                return new PermissionsView(model.permissions(), model.errors(), parent);
            case AppSection::diagnostics:
                return new DiagnosticsView(model.registry(), parent);
            }
            return new QWidget(parent);
        });
}

QWidget* ShellViews::settings(AppModel& model) {
    return new SettingsView(model.windows(), model.errors(), model.globalSurfaceFocus(),
                            [&model](SettingsSection section) -> QWidget* {
                                switch (section) {
                                case SettingsSection::general:
                                    return new GeneralSettingsView(model.notch(), model.shortcuts(),
                                                                   surfaceOpeners(model));
                                case SettingsSection::modules:
                                    return new ModuleSettingsView(model.registry());
                                case SettingsSection::openRouter:
                                    return new OpenRouterSettingsView(model.startup());
                                case SettingsSection::privacy:
                                    break;
                                }
                                return new PrivacySettingsView;
                            });
}

SurfaceOpeners ShellViews::surfaceOpeners(AppModel& model) {
    return SurfaceOpeners{
        [&model] { model.showCommandPalette(); },
        [&model] { model.showLauncher(); },
        [&model] { model.showClipboard(); },
        [&model](AppSection section) { model.showDashboard(section); },
        [&model](SettingsSection section) { model.openSettings(section); },
        [&model] { model.showMiniAI(); },
    };
}

NotchFeatures ShellViews::notchFeatures(AppModel& model) {
    return NotchFeatures{model.desktop(),      model.systemMonitor(), model.keepAwake(),
                         model.miniCamera(),   model.errors(),        model.globalSurfaceFocus(),
                         surfaceOpeners(model)};
}

QWidget* ShellViews::about() {
    return new AboutView();
}

} // namespace plimbo
