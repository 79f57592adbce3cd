#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace plimbo {

// The system's answer to one request for an assertion.
struct PowerAssertionReply {
    // Present when granted; an identifier of 0 is as valid as any other.
    std::optional<quint32> id;
    // Refused because the session has no service that could grant it at all.
    bool serviceMissing = false;
    // Why it was refused, for diagnostics.
    QString detail;
};

// Keeps the display from idling into sleep while an assertion is held. "Held" is the presence
// of an identifier, never its value.
class PowerAssertion {
public:
    using ReplyHandler = std::function<void(const PowerAssertionReply&)>;
    using LostHandler = std::function<void(quint32 id)>;

    virtual ~PowerAssertion() = default;

    // Asks for an assertion without blocking. `replied` runs exactly once, on the calling
    // thread, when the system answers, however late (it may run inside this call), unless this
    // object is gone by then. There is no timeout here: a late grant is still a grant, and the
    // caller must release what it no longer wants.
    virtual void requestNoDisplaySleepAssertion(const QString& name, ReplyHandler replied) = 0;
    // Releases without waiting for the system to confirm.
    virtual void releaseAssertion(quint32 id) = 0;

    // `lost` runs, on the main thread, when an assertion granted earlier stops holding without
    // being released (the service that granted it went away or was replaced); its identifier
    // counts as released from then on.
    void setLostHandler(LostHandler lost) { m_lost = std::move(lost); }

protected:
    void reportLost(quint32 id) const {
        if (m_lost) {
            m_lost(id);
        }
    }

private:
    LostHandler m_lost;
};

} // namespace plimbo
