#include "ClipboardWindowController.h"

#include "LauncherWindowController.h"
#include "ShellViews.h"

namespace plimbo {

ClipboardWindowController::ClipboardWindowController(
    ClipboardService& clipboard, const GlobalShortcuts& shortcuts,
    GlobalSurfaceFocusCoordinator& focusCoordinator)
    : QuickPanelWindowController(focusCoordinator, size, QStringLiteral("Plimbo Clipboard")) {
    setView(ShellViews::clipboardQuickAccess(clipboard, shortcuts, [this] { dismiss(); }));
}

void ClipboardWindowController::position(QWidget& window) {
    LauncherWindowController::position(window);
}

} // namespace plimbo
