#pragma once

#include "PowerAssertion.h"

#include <QHash>

#include <memory>

namespace plimbo {

// The desktop's screen-saver service first; where the session has none (a window manager on
// its own), the fallback, normally the X server's own screen saver. A refusal or a silence of
// a service that exists is final: only a missing service leads to the fallback. Identifiers
// are this object's own, mapped onto the backend that granted each. The backends answer only
// while they exist, and this object owns them, so their answers never outlive it. Main thread.
class SessionPowerAssertion final : public PowerAssertion {
public:
    // The session bus's org.freedesktop.ScreenSaver, then the X server of DISPLAY.
    SessionPowerAssertion();
    SessionPowerAssertion(std::unique_ptr<PowerAssertion> service,
                          std::unique_ptr<PowerAssertion> fallback);
    ~SessionPowerAssertion() override;

    void requestNoDisplaySleepAssertion(const QString& name, ReplyHandler replied) override;
    void releaseAssertion(quint32 id) override;

private:
    struct Granted {
        PowerAssertion* backend;
        quint32 id;
    };

    void adopt(PowerAssertion* backend, const PowerAssertionReply& reply,
               const ReplyHandler& replied);
    void onLost(const PowerAssertion* backend, quint32 backendID);

    std::unique_ptr<PowerAssertion> m_service;
    std::unique_ptr<PowerAssertion> m_fallback;
    QHash<quint32, Granted> m_granted;
    quint32 m_nextId = 0;
};

} // namespace plimbo
