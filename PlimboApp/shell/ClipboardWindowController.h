#pragma once

#include "QuickPanelWindowController.h"

namespace plimbo {

class ClipboardService;
class GlobalShortcuts;

// The clipboard panel "Plimbo Clipboard": 640 x 500, placed like the launcher.
class ClipboardWindowController final : public QuickPanelWindowController {
public:
    ClipboardWindowController(ClipboardService& clipboard, const GlobalShortcuts& shortcuts,
                              GlobalSurfaceFocusCoordinator& focusCoordinator);

    static constexpr QSize size{640, 500};

    static void position(QWidget& window);

protected:
    void place(QWidget& window) override { position(window); }
};

} // namespace plimbo
