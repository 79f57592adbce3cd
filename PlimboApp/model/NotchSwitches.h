#pragma once

#include <QString>

namespace plimbo {

class SettingsStore;

// The two notch switches in the user's defaults, and whether the notch panel should be shown
// for them.
class NotchSwitches {
public:
    static inline const QString notchSurfaceEnabledKey = QStringLiteral("plimbo.notch.enabled");
    static inline const QString virtualNotchEnabledKey =
        QStringLiteral("plimbo.notch.virtualEnabled");

    explicit NotchSwitches(SettingsStore& defaults);

    // Both are on unless "false" was stored; anything that is not a Boolean counts as absent.
    bool notchSurfaceEnabled() const;
    bool virtualNotchEnabled() const;
    // Written every time, even when the value does not change.
    void setNotchSurfaceEnabled(bool enabled);
    void setVirtualNotchEnabled(bool enabled);

    // The notch panel is shown while the surface is on and either the screen it uses has a
    // camera housing or a drawn notch is allowed.
    static bool shouldPresent(bool notchSurfaceEnabled, bool virtualNotchEnabled,
                              bool hasHardwareNotch);

private:
    SettingsStore& m_defaults;
};

} // namespace plimbo
