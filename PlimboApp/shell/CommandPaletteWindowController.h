#pragma once

#include "QuickPanelWindowController.h"

#include <functional>

namespace plimbo {

class CommandPalette;
struct PaletteItem;

// The command palette: 720 x 520, on the screen the user is working on (the pointer's), 96
// below the top of its available area.
class CommandPaletteWindowController final : public QuickPanelWindowController {
public:
    // `perform` acts on the chosen item (and hides the palette first).
    CommandPaletteWindowController(CommandPalette& palette,
                                   std::function<void(const PaletteItem&)> perform,
                                   GlobalSurfaceFocusCoordinator& focusCoordinator);

    static constexpr QSize size{720, 520};
    // How long after it is built the palette prepares its first showing.
    static constexpr int prepareDelay = 300;
    // Names it in window lists and task switchers; the panel shows no title bar.
    static inline const QString title = QStringLiteral("Plimbo Command Palette");

protected:
    void place(QWidget& window) override;
};

} // namespace plimbo
