#pragma once

#include "PaletteAction.h"
#include "RunningApplication.h"

#include <memory>
#include <optional>

namespace plimbo {

class WindowActivation;

// Remembers which other application was in front when the palette, launcher or clipboard
// panel opened, so that closing the panel can give it the focus back. One instance, shared by
// the three panels; main thread.
class GlobalSurfaceFocusCoordinator {
public:
    // What a palette command does to the remembered application.
    enum class PaletteFocusEffect {
        // Left in place (opening the launcher or clipboard panel from the palette).
        keep,
        // Forgotten before the command runs: the command brings up something of its own.
        forget,
        // Given the focus back, then forgotten, after the command ran.
        restore,
    };

    // This process is the application that is never remembered, unless ownProcessIdentifier
    // names another.
    explicit GlobalSurfaceFocusCoordinator(std::shared_ptr<WindowActivation> windows);
    GlobalSurfaceFocusCoordinator(std::shared_ptr<WindowActivation> windows,
                                  qint64 ownProcessIdentifier);

    GlobalSurfaceFocusCoordinator(const GlobalSurfaceFocusCoordinator&) = delete;
    GlobalSurfaceFocusCoordinator& operator=(const GlobalSurfaceFocusCoordinator&) = delete;

    const std::optional<RunningApplication>& originatingApplication() const {
        return m_originatingApplication;
    }

    // Remembers the frontmost application unless one is already held (the first capture holds
    // until it is used) or this application is in front.
    void captureIfNeeded();
    // A panel closed by its own action: activates the remembered application, then forgets it.
    // While an alert is up the hand-back waits until the alert has closed: handing the focus
    // away first would leave it on whatever window the alert closes over.
    void restore();
    // A click outside a panel or a launched application: forgets without activating.
    void forget();

    // An alert opened over one of this application's surfaces: remembers the application in
    // front if none is held (an error that arrives after a panel closed), so it gets the focus
    // back when the last alert closes.
    void alertOpened();
    // The last alert closed: a hand-back held for it happens now.
    void alertClosed();
    bool isAlertOpen() const { return m_openAlerts > 0; }

    static PaletteFocusEffect paletteFocusEffect(PaletteAction::Kind action);
    // Call before and after running a palette command.
    void beforePaletteAction(PaletteAction::Kind action);
    void afterPaletteAction(PaletteAction::Kind action);

private:
    std::shared_ptr<WindowActivation> m_windows;
    qint64 m_ownProcessIdentifier;
    std::optional<RunningApplication> m_originatingApplication;
    int m_openAlerts = 0;
    bool m_restoreAfterAlert = false;
};

} // namespace plimbo
