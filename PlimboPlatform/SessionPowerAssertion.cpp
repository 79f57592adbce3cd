#include "SessionPowerAssertion.h"

#include "ScreenSaverPowerAssertion.h"
#include "X11ScreenSaverSuspend.h"

namespace plimbo {

SessionPowerAssertion::SessionPowerAssertion()
    : SessionPowerAssertion(std::make_unique<ScreenSaverPowerAssertion>(),
                            std::make_unique<X11ScreenSaverSuspend>()) {}

SessionPowerAssertion::SessionPowerAssertion(std::unique_ptr<PowerAssertion> service,
                                             std::unique_ptr<PowerAssertion> fallback)
    : m_service(std::move(service))
    , m_fallback(std::move(fallback)) {
    for (PowerAssertion* backend : {m_service.get(), m_fallback.get()}) {
        if (backend) {
            backend->setLostHandler(
                [this, backend](quint32 backendID) { onLost(backend, backendID); });
        }
    }
}

SessionPowerAssertion::~SessionPowerAssertion() {
    for (const Granted& granted : std::as_const(m_granted)) {
        granted.backend->releaseAssertion(granted.id);
    }
}

void SessionPowerAssertion::requestNoDisplaySleepAssertion(const QString& name,
                                                           ReplyHandler replied) {
    m_service->requestNoDisplaySleepAssertion(
        name, [this, name, replied = std::move(replied)](const PowerAssertionReply& reply) {
            if (!reply.id && reply.serviceMissing && m_fallback) {
                m_fallback->requestNoDisplaySleepAssertion(
                    name, [this, replied](const PowerAssertionReply& fallbackReply) {
                        adopt(m_fallback.get(), fallbackReply, replied);
                    });
                return;
            }
            adopt(m_service.get(), reply, replied);
        });
}

void SessionPowerAssertion::adopt(PowerAssertion* backend, const PowerAssertionReply& reply,
                                  const ReplyHandler& replied) {
    if (!reply.id) {
        replied(reply);
        return;
    }
    const quint32 id = m_nextId++;
    m_granted.insert(id, Granted{backend, *reply.id});
    replied(PowerAssertionReply{id, false, {}});
}

void SessionPowerAssertion::releaseAssertion(quint32 id) {
    const auto granted = m_granted.constFind(id);
    if (granted == m_granted.cend()) {
        return;
    }
    const Granted what = *granted;
    m_granted.erase(granted);
    what.backend->releaseAssertion(what.id);
}

void SessionPowerAssertion::onLost(const PowerAssertion* backend, quint32 backendID) {
    for (auto it = m_granted.begin(); it != m_granted.end(); ++it) {
        if (it->backend == backend && it->id == backendID) {
            const quint32 id = it.key();
            m_granted.erase(it);
            reportLost(id);
            return;
        }
    }
}

} // namespace plimbo
