#include "LauncherWindowController.h"

#include "GlobalSurfaceFocusCoordinator.h"
#include "LauncherService.h"
#include "PanelPlacement.h"
#include "ShellViews.h"

#include <QScreen>

namespace plimbo {

LauncherWindowController::LauncherWindowController(LauncherService& launcher,
                                                   const GlobalShortcuts& shortcuts,
                                                   GlobalSurfaceFocusCoordinator& focusCoordinator)
    : QuickPanelWindowController(focusCoordinator, size, QStringLiteral("Plimbo Launcher"))
    , m_launcher(&launcher) {
    setView(ShellViews::launcherQuickAccess(
        launcher, shortcuts, [this] { dismiss(); },
        [this](const ApplicationRecord& application) { openApplication(application); }));
}

void LauncherWindowController::position(QWidget& window) {
    if (QScreen* screen = PanelPlacement::screenUnderCursorOrPrimary()) {
        window.move(PanelPlacement::topCentred(screen->availableGeometry(), window.size(),
                                               PanelPlacement::launcherTopGap));
    }
}

void LauncherWindowController::openApplication(const ApplicationRecord& application) {
    stopOutsideClickMonitoring();
    hide();
    focusCoordinator().forget();
    if (m_launcher) {
        m_launcher->launch(application);
    }
}

} // namespace plimbo
