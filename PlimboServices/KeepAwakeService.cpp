#include "KeepAwakeService.h"

#include "SessionPowerAssertion.h"

#include <QPointer>

#include <utility>

namespace plimbo {

KeepAwakeService::KeepAwakeService()
    : KeepAwakeService(std::make_unique<SessionPowerAssertion>()) {}

KeepAwakeService::KeepAwakeService(std::unique_ptr<PowerAssertion> assertion,
                                   std::chrono::milliseconds answerTimeout)
    : m_assertion(std::move(assertion)) {
    m_assertion->setLostHandler([self = QPointer(this)](quint32 id) {
        if (self) {
            self->onLost(id);
        }
    });
    m_answerTimer.setSingleShot(true);
    m_answerTimer.setInterval(answerTimeout);
    connect(&m_answerTimer, &QTimer::timeout, this, &KeepAwakeService::onNoAnswer);
}

KeepAwakeService::~KeepAwakeService() {
    if (m_assertionID) {
        m_assertion->releaseAssertion(*m_assertionID);
    }
}

ModuleManifest KeepAwakeService::manifest() const {
    return ModuleManifest{
        QStringLiteral("keep-awake"),
        QStringLiteral("Keep Awake"),
        QStringLiteral("Prevent idle display sleep until you switch it off."),
        QStringLiteral("cup.and.heat.waves"),
        PlimboCapabilityStatus::available,
        true,
    };
}

void KeepAwakeService::setRunning(bool running) {
    if (m_isRunning != running) {
        m_isRunning = running;
        emit isRunningChanged();
    }
}

void KeepAwakeService::setKeepingAwake(bool keepingAwake) {
    if (m_isKeepingAwake != keepingAwake) {
        m_isKeepingAwake = keepingAwake;
        emit isKeepingAwakeChanged();
    }
}

QString KeepAwakeService::noInhibitServiceMessage() {
    return QStringLiteral("This desktop session has no screen-saver inhibit service "
                          "(org.freedesktop.ScreenSaver), so Plimbo cannot keep the screen "
                          "awake.");
}

QString KeepAwakeService::noAnswerMessage() {
    return QStringLiteral("The desktop's screen saver did not answer in time, so the screen is "
                          "not being kept awake.");
}

QString KeepAwakeService::refusedMessage() {
    return QStringLiteral("The desktop's screen saver refused to keep the screen awake.");
}

QString KeepAwakeService::lostMessage() {
    return QStringLiteral("The desktop's screen saver restarted and did not take Plimbo's "
                          "request again, so the screen is no longer kept awake.");
}

bool KeepAwakeService::enable() {
    if (m_assertionID) {
        return true;
    }
    m_wanted = true;
    if (m_waitingFor) {
        return false; // the answer is on its way
    }
    request();
    return m_isKeepingAwake;
}

void KeepAwakeService::onLost(quint32 id) {
    if (m_assertionID != id) {
        return;
    }
    m_assertionID.reset();
    // Still shown on while whoever provides the service now is asked; its refusal or silence
    // turns keep-awake off and says why.
    m_reacquiring = true;
    if (!m_waitingFor) {
        request();
    }
}

void KeepAwakeService::request() {
    const quint64 request = ++m_lastRequest;
    m_waitingFor = request;
    m_answerTimer.start();
    m_assertion->requestNoDisplaySleepAssertion(
        assertionName, [self = QPointer(this), request](const PowerAssertionReply& reply) {
            if (self) {
                self->onReply(request, reply);
            }
        });
}

void KeepAwakeService::onReply(quint64 request, const PowerAssertionReply& reply) {
    const bool inTime = m_waitingFor == request;
    if (inTime) {
        m_waitingFor.reset();
        m_answerTimer.stop();
    }
    if (reply.id) {
        if (m_wanted && !m_assertionID) {
            m_assertionID = reply.id;
            m_reacquiring = false;
            setKeepingAwake(true);
        } else {
            // Too late, no longer wanted, or one is held already: the desktop must not keep
            // an inhibition that Plimbo does not show.
            m_assertion->releaseAssertion(*reply.id);
        }
        return;
    }
    // A late grant adopted meanwhile already keeps the screen awake: this refusal is moot.
    if (inTime && !m_assertionID) {
        m_wanted = false;
        const bool wasHeld = std::exchange(m_reacquiring, false);
        setKeepingAwake(false);
        emit failed(wasHeld                ? lostMessage()
                    : reply.serviceMissing ? noInhibitServiceMessage()
                                           : refusedMessage());
    }
    // A late refusal changes nothing: the missing answer was reported already.
}

void KeepAwakeService::onNoAnswer() {
    if (!m_waitingFor) {
        return;
    }
    m_waitingFor.reset();
    if (m_assertionID) {
        return; // a late grant adopted meanwhile keeps the screen awake
    }
    // Shown as off from now on, so a grant that still comes is released unless the user asks
    // again before it arrives.
    m_wanted = false;
    const bool wasHeld = std::exchange(m_reacquiring, false);
    setKeepingAwake(false);
    emit failed(wasHeld ? lostMessage() : noAnswerMessage());
}

void KeepAwakeService::disable() {
    m_wanted = false;
    m_reacquiring = false;
    if (m_assertionID) {
        m_assertion->releaseAssertion(*m_assertionID);
        m_assertionID.reset();
    }
    // Also ends a keep-awake that was lost and is being asked for again.
    setKeepingAwake(false);
}

void KeepAwakeService::toggle() {
    if (m_isKeepingAwake) {
        disable();
    } else {
        enable();
    }
}

QFuture<void> KeepAwakeService::start() {
    setRunning(true);
    return QtFuture::makeReadyFuture();
}

QFuture<void> KeepAwakeService::stop() {
    disable();
    setRunning(false);
    return QtFuture::makeReadyFuture();
}

QFuture<ModuleHealth> KeepAwakeService::healthCheck() {
    if (!m_isRunning) {
        return m_readyHealth(ModuleHealth::stopped());
    }
    return m_readyHealth(ModuleHealth::healthy(
        m_isKeepingAwake ? QStringLiteral("Keeping computer awake") : QStringLiteral("Ready")));
}

ModuleResourceSnapshot KeepAwakeService::resourceUsageSnapshot() {
    return {0, m_isKeepingAwake ? QStringLiteral("Power assertion active")
                                : QStringLiteral("Dormant")};
}

} // namespace plimbo
