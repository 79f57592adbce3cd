#include "GlobalSurfaceFocusCoordinator.h"

#include "WindowActivation.h"

#include <QCoreApplication>

#include <utility>

namespace plimbo {

GlobalSurfaceFocusCoordinator::GlobalSurfaceFocusCoordinator(
    std::shared_ptr<WindowActivation> windows)
    : GlobalSurfaceFocusCoordinator(std::move(windows), QCoreApplication::applicationPid()) {}

GlobalSurfaceFocusCoordinator::GlobalSurfaceFocusCoordinator(
    std::shared_ptr<WindowActivation> windows, qint64 ownProcessIdentifier)
    : m_windows(std::move(windows))
    , m_ownProcessIdentifier(ownProcessIdentifier) {}

void GlobalSurfaceFocusCoordinator::captureIfNeeded() {
    if (m_originatingApplication) {
        return;
    }
    const std::optional<RunningApplication> frontmost = m_windows->frontmostApplication();
    if (frontmost && frontmost->processIdentifier == m_ownProcessIdentifier) {
        return;
    }
    m_originatingApplication = frontmost;
}

void GlobalSurfaceFocusCoordinator::restore() {
    if (m_openAlerts > 0) {
        m_restoreAfterAlert = true;
        return;
    }
    if (m_originatingApplication) {
        // Forget first: the application is handed back once, whatever the window manager says.
        const RunningApplication application = *m_originatingApplication;
        m_originatingApplication.reset();
        m_windows->activate(application);
    }
}

void GlobalSurfaceFocusCoordinator::forget() {
    m_originatingApplication.reset();
    m_restoreAfterAlert = false;
}

void GlobalSurfaceFocusCoordinator::alertOpened() {
    if (m_openAlerts++ == 0 && !m_originatingApplication) {
        captureIfNeeded();
        m_restoreAfterAlert = m_originatingApplication.has_value();
    }
}

void GlobalSurfaceFocusCoordinator::alertClosed() {
    if (m_openAlerts == 0 || --m_openAlerts > 0) {
        return;
    }
    if (std::exchange(m_restoreAfterAlert, false)) {
        restore();
    }
}

GlobalSurfaceFocusCoordinator::PaletteFocusEffect
GlobalSurfaceFocusCoordinator::paletteFocusEffect(PaletteAction::Kind action) {
    using Kind = PaletteAction::Kind;
    switch (action) {
    case Kind::copyClipboard:
    case Kind::toggleKeepAwake:
        return PaletteFocusEffect::restore;
    case Kind::openLauncher:
    case Kind::openClipboard:
        return PaletteFocusEffect::keep;
    case Kind::launchApplication:
    case Kind::openDashboard:
    case Kind::openSettings:
    case Kind::openAI:
    case Kind::airDrop:
    case Kind::screenshot:
        return PaletteFocusEffect::forget;
    }
    return PaletteFocusEffect::keep;
}

void GlobalSurfaceFocusCoordinator::beforePaletteAction(PaletteAction::Kind action) {
    if (paletteFocusEffect(action) == PaletteFocusEffect::forget) {
        forget();
    }
}

void GlobalSurfaceFocusCoordinator::afterPaletteAction(PaletteAction::Kind action) {
    if (paletteFocusEffect(action) == PaletteFocusEffect::restore) {
        restore();
    }
}

} // namespace plimbo
