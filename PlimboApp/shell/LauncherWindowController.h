#pragma once

#include "QuickPanelWindowController.h"

#include <QPointer>

namespace plimbo {

class GlobalShortcuts;
class LauncherService;
struct ApplicationRecord;

// The launcher panel "Plimbo Launcher": 640 x 520, on the screen under the pointer, 92 below
// the top of its available area.
class LauncherWindowController final : public QuickPanelWindowController {
public:
    LauncherWindowController(LauncherService& launcher, const GlobalShortcuts& shortcuts,
                             GlobalSurfaceFocusCoordinator& focusCoordinator);

    static constexpr QSize size{640, 520};

    // Places a window of this panel's kind on the screen under the pointer (else the primary
    // screen; without screens it stays where it is).
    static void position(QWidget& window);
    // The view chose an application: close the panel, forget the originating application (the
    // launched one takes the front) and launch it.
    void openApplication(const ApplicationRecord& application);

protected:
    void place(QWidget& window) override { position(window); }

private:
    QPointer<LauncherService> m_launcher;
};

} // namespace plimbo
