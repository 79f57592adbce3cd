#pragma once

#include <QObject>

namespace plimbo {

class MotionPreference;

// The one switch that turns the chat views' animations and transitions off (they then change
// at once rather than faster). Off until the application follows the desktop's setting or a
// test switches it on. Main thread.
class ReduceMotion : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool enabled READ isEnabled WRITE setEnabled NOTIFY enabledChanged)

public:
    static ReduceMotion& instance();
    static bool enabled() { return instance().isEnabled(); }

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    // Takes the desktop's setting now and whenever it changes, while `preference` lives.
    void follow(MotionPreference& preference);

signals:
    void enabledChanged(bool enabled);

private:
    ReduceMotion() = default;
    bool m_enabled = false;
};

} // namespace plimbo
