#include "CommandPaletteWindowController.h"

#include "PanelPlacement.h"
#include "ShellViews.h"

#include <QTimer>

#include <QScreen>

namespace plimbo {

CommandPaletteWindowController::CommandPaletteWindowController(
    CommandPalette& palette, std::function<void(const PaletteItem&)> perform,
    GlobalSurfaceFocusCoordinator& focusCoordinator)
    : QuickPanelWindowController(focusCoordinator, size, title) {
    setView(ShellViews::commandPalette(palette, std::move(perform), [this] { dismiss(); }));
    // Off the path of start-up's own first frames, long before a user reaches for the shortcut.
    QTimer::singleShot(prepareDelay, window(), [panel = window()] { panel->prepare(); });
}

void CommandPaletteWindowController::place(QWidget& window) {
    // Without screens the palette shows where it last was.
    if (QScreen* screen = PanelPlacement::screenInUse()) {
        window.move(PanelPlacement::topCentred(screen->availableGeometry(), window.size(),
                                               PanelPlacement::paletteTopGap));
    }
}

} // namespace plimbo
