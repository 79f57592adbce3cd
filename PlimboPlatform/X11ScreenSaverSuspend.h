#pragma once

#include "PowerAssertion.h"

#include <QByteArray>
#include <QSet>

#include <optional>

struct _XDisplay;

namespace plimbo {

// Holds the X server's own screen saver and DPMS off through the MIT-SCREEN-SAVER extension
// (XScreenSaverSuspend), for sessions with only a window manager and no screen-saver service.
// It talks over a connection of its own: the server ends the suspension when that connection
// closes, so a crash never leaves the screen unable to blank. Each held assertion is one
// suspension; the server counts them. Without an X server or the extension, every request
// is refused as a missing service. Main thread.
class X11ScreenSaverSuspend final : public PowerAssertion {
public:
    // displayName: as DISPLAY gives it; empty for DISPLAY itself.
    explicit X11ScreenSaverSuspend(QByteArray displayName = {});
    ~X11ScreenSaverSuspend() override;

    X11ScreenSaverSuspend(const X11ScreenSaverSuspend&) = delete;
    X11ScreenSaverSuspend& operator=(const X11ScreenSaverSuspend&) = delete;

    void requestNoDisplaySleepAssertion(const QString& name, ReplyHandler replied) override;
    void releaseAssertion(quint32 id) override;

private:
    // Opens the connection at the first request; false when there is no usable server.
    bool connect();

    QByteArray m_displayName;
    _XDisplay* m_display = nullptr;
    // Why the server cannot be used, once that is known.
    std::optional<QString> m_unusable;
    QSet<quint32> m_held;
    quint32 m_nextId = 1;
};

} // namespace plimbo
