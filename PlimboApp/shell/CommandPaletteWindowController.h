#pragma once

#include "QuickPanelWindowController.h"

namespace plimbo {

class AppModel;

// The command palette: 720 x 520, always on the primary screen, 96 below the top of its
// available area.
class CommandPaletteWindowController final : public QuickPanelWindowController {
public:
    CommandPaletteWindowController(AppModel& model,
                                   GlobalSurfaceFocusCoordinator& focusCoordinator);

    static constexpr QSize size{720, 520};
    // Names it in window lists and task switchers; the panel shows no title bar.
    static inline const QString title = QStringLiteral("Plimbo Command Palette");

protected:
    void place(QWidget& window) override;
};

} // namespace plimbo
