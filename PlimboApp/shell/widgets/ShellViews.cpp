#include "ShellViews.h"

#include "ApplicationRecord.h"
#include "ClipboardQuickAccessView.h"
#include "CommandPaletteView.h"
#include "LauncherQuickAccessView.h"
#include "MenuBarContentView.h"
#include "PlaceholderView.h"

namespace plimbo {

QWidget* ShellViews::menuBarContent(AppModel& model) {
    return new MenuBarContentView(model);
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

QWidget* ShellViews::miniAI(AppModel&, std::function<void()>, std::function<void()>,
                            std::function<void()> onClose) {
    return new PlaceholderView(QStringLiteral("Plimbo AI"), std::move(onClose));
}

QWidget* ShellViews::dashboard(AppModel&) {
    return new PlaceholderView(QStringLiteral("Plimbo"));
}

QWidget* ShellViews::settings(AppModel&) {
    return new PlaceholderView(QStringLiteral("Plimbo Settings"));
}

QWidget* ShellViews::about() {
    return new PlaceholderView(QStringLiteral("About Plimbo"));
}

} // namespace plimbo
