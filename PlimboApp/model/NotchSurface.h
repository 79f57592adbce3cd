#pragma once

#include <QObject>

namespace plimbo {

class SettingsStore;
class WindowRouter;

// The notch surface's two switches (shown at all; drawn on screens without a camera housing),
// stored in the user's settings, and presenting or hiding the notch panel to match them. Main
// thread only. Before start-up built the panel, a switch is only stored.
class NotchSurface : public QObject {
    Q_OBJECT

public:
    // Reads both switches from `settings`.
    NotchSurface(SettingsStore& settings, WindowRouter& windows, QObject* parent = nullptr);

    bool surfaceEnabled() const { return m_surfaceEnabled; }
    void setSurfaceEnabled(bool enabled);
    bool virtualNotchEnabled() const { return m_virtualNotchEnabled; }
    void setVirtualNotchEnabled(bool enabled);
    // Measures the screen again, then presents the panel when the switches allow it, else
    // hides it.
    void presentOrHide();

signals:
    void surfaceEnabledChanged();
    void virtualNotchEnabledChanged();

private:
    SettingsStore& m_settings;
    WindowRouter& m_windows;
    bool m_surfaceEnabled = true;
    bool m_virtualNotchEnabled = true;
};

} // namespace plimbo
