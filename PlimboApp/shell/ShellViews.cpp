#include "ShellViews.h"

#include "AboutView.h"
#include "AppModel.h"
#include "ApplicationRecord.h"
#include "ClipboardQuickAccessView.h"
#include "CommandPaletteView.h"
#include "DashboardView.h"
#include "LauncherQuickAccessView.h"
#include "MenuBarContentView.h"
#include "MiniAIView.h"
#include "PresentedErrorAlert.h"
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

QWidget* ShellViews::miniAI(AppModel& model, std::function<void()> onBeginConversation,
                            std::function<void()> onOpenAllChats, std::function<void()> onClose) {
    auto* view = new MiniAIView(model.chatFeatures(), std::move(onBeginConversation),
                                std::move(onOpenAllChats), std::move(onClose));
    // The model's error shows over the assistant while it is on screen; the alert goes with it.
    new PresentedErrorAlert(model, *view, MiniAIView::tr("Plimbo AI"));
    return view;
}

QWidget* ShellViews::dashboard(AppModel& model) {
    return new DashboardView(model);
}

QWidget* ShellViews::settings(AppModel& model) {
    return new SettingsView(model);
}

QWidget* ShellViews::about() {
    return new AboutView();
}

} // namespace plimbo
