#include "KeepAwakeService.h"

#include "ScreenSaverPowerAssertion.h"

namespace plimbo {

KeepAwakeService::KeepAwakeService()
    : KeepAwakeService(std::make_unique<ScreenSaverPowerAssertion>()) {}

KeepAwakeService::KeepAwakeService(std::unique_ptr<PowerAssertion> assertion)
    : m_assertion(std::move(assertion)) {}

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

bool KeepAwakeService::enable() {
    if (m_assertionID) {
        return true;
    }
    m_assertionID = m_assertion->createNoDisplaySleepAssertion(assertionName);
    setKeepingAwake(m_assertionID.has_value());
    return m_isKeepingAwake;
}

void KeepAwakeService::disable() {
    if (!m_assertionID) {
        return;
    }
    m_assertion->releaseAssertion(*m_assertionID);
    m_assertionID.reset();
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
        return QtFuture::makeReadyFuture(ModuleHealth::stopped());
    }
    return QtFuture::makeReadyFuture(ModuleHealth::healthy(
        m_isKeepingAwake ? QStringLiteral("Keeping computer awake") : QStringLiteral("Ready")));
}

ModuleResourceSnapshot KeepAwakeService::resourceUsageSnapshot() {
    return {0, m_isKeepingAwake ? QStringLiteral("Power assertion active")
                                : QStringLiteral("Dormant")};
}

} // namespace plimbo
