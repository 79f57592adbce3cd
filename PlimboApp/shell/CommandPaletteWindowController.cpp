#include "CommandPaletteWindowController.h"

#include "PanelPlacement.h"
#include "ShellViews.h"

#include <QGuiApplication>
#include <QScreen>

namespace plimbo {

CommandPaletteWindowController::CommandPaletteWindowController(
    AppModel& model, GlobalSurfaceFocusCoordinator& focusCoordinator)
    : QuickPanelWindowController(focusCoordinator, size, title) {
    setView(ShellViews::commandPalette(model, [this] { dismiss(); }));
}

void CommandPaletteWindowController::place(QWidget& window) {
    // Without a primary screen the palette shows where it last was.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        window.move(PanelPlacement::topCentred(screen->availableGeometry(), window.size(),
                                               PanelPlacement::paletteTopGap));
    }
}

} // namespace plimbo
