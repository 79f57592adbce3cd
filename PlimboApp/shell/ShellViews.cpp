#include "ShellViews.h"

#include "AboutView.h"
#include "ApplicationRecord.h"
#include "ClipboardQuickAccessView.h"
#include "CommandPaletteView.h"
#include "DashboardView.h"
#include "LauncherQuickAccessView.h"
#include "MenuBarContentView.h"
#include "MiniAIView.h"
#include "SettingsView.h"

namespace plimbo {

QWidget* ShellViews::menuBarContent(AppModel& model, std::function<void()> closeMenu) {
    auto* view = new MenuBarContentView(model);
    view->setCloseMenu(std::move(closeMenu));
    return view;
}

QWidget* ShellViews::commandPalette(AppModel& model, std::function<void()> dismiss) {
    return new CommandPaletteView(model, std::move(dismiss));
}

QWidget* ShellViews::launcherQuickAccess(AppModel& model, std::function<void()> dismiss,
                                         std::function<void(const ApplicationRecord&)> open) {
    return new LauncherQuickAccessView(model, std::move(dismiss), std::move(open));
}

QWidget* ShellViews::clipboardQuickAccess(AppModel& model, std::function<void()> dismiss) {
    return new ClipboardQuickAccessView(model, std::move(dismiss));
}

MiniAIView* ShellViews::miniAI(AppModel& model, std::function<void()> onBeginConversation,
                               std::function<void()> onOpenAllChats,
                               std::function<void()> onClose) {
    return new MiniAIView(model, std::move(onBeginConversation), std::move(onOpenAllChats),
                          std::move(onClose));
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
