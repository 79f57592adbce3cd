#include "ClipboardWindowController.h"

#include "LauncherWindowController.h"
#include "ShellViews.h"

namespace plimbo {

ClipboardWindowController::ClipboardWindowController(
    AppModel& model, GlobalSurfaceFocusCoordinator& focusCoordinator)
    : QuickPanelWindowController(focusCoordinator, size, QStringLiteral("Plimbo Clipboard")) {
    setView(ShellViews::clipboardQuickAccess(model, [this] { dismiss(); }));
}

void ClipboardWindowController::position(QWidget& window) {
    LauncherWindowController::position(window);
}

} // namespace plimbo
