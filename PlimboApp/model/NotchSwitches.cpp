#include "NotchSwitches.h"

#include "SettingsStore.h"

namespace plimbo {

NotchSwitches::NotchSwitches(SettingsStore& defaults)
    : m_defaults(defaults) {}

bool NotchSwitches::notchSurfaceEnabled() const {
    return m_defaults.boolValue(notchSurfaceEnabledKey).value_or(true);
}

bool NotchSwitches::virtualNotchEnabled() const {
    return m_defaults.boolValue(virtualNotchEnabledKey).value_or(true);
}

void NotchSwitches::setNotchSurfaceEnabled(bool enabled) {
    m_defaults.setValue(notchSurfaceEnabledKey, enabled);
}

void NotchSwitches::setVirtualNotchEnabled(bool enabled) {
    m_defaults.setValue(virtualNotchEnabledKey, enabled);
}

bool NotchSwitches::shouldPresent(bool notchSurfaceEnabled, bool virtualNotchEnabled,
                                  bool hasHardwareNotch) {
    return notchSurfaceEnabled && (virtualNotchEnabled || hasHardwareNotch);
}

} // namespace plimbo
