#include "NotchSurface.h"

#include "NotchController.h"
#include "NotchSwitches.h"
#include "PropertyAssign.h"
#include "WindowRouter.h"

#include <optional>

namespace plimbo {

NotchSurface::NotchSurface(SettingsStore& settings, WindowRouter& windows, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_windows(windows) {
    const NotchSwitches switches(m_settings);
    m_surfaceEnabled = switches.notchSurfaceEnabled();
    m_virtualNotchEnabled = switches.virtualNotchEnabled();
}

void NotchSurface::setSurfaceEnabled(bool enabled) {
    assign(this, m_surfaceEnabled, enabled, &NotchSurface::surfaceEnabledChanged);
    NotchSwitches(m_settings).setNotchSurfaceEnabled(enabled);
    presentOrHide();
}

void NotchSurface::setVirtualNotchEnabled(bool enabled) {
    assign(this, m_virtualNotchEnabled, enabled, &NotchSurface::virtualNotchEnabledChanged);
    NotchSwitches(m_settings).setVirtualNotchEnabled(enabled);
    presentOrHide();
}

void NotchSurface::presentOrHide() {
    NotchController* notch = m_windows.notch();
    if (!notch) {
        return;
    }
    notch->refreshGeometry(std::nullopt);
    if (NotchSwitches::shouldPresent(m_surfaceEnabled, m_virtualNotchEnabled,
                                     notch->hasHardwareNotch())) {
        notch->raise();
    } else {
        notch->hide();
    }
}

} // namespace plimbo
