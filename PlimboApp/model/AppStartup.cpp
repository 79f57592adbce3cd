#include "AppStartup.h"

#include "CommandPalette.h"
#include "FailureText.h"
#include "GlobalShortcuts.h"
#include "KeychainError.h"
#include "KeychainService.h"
#include "MainThreadContinuation.h"
#include "ModuleRegistry.h"
#include "PreviewRun.h"
#include "PropertyAssign.h"
#include "TaskExecutor.h"
#include "WindowRouter.h"

namespace plimbo {

AppStartup::AppStartup(ModuleRegistry& registry, std::shared_ptr<KeychainService> keychain,
                       TaskExecutor& executor, std::chrono::milliseconds healthInterval,
                       Features features, QObject* parent)
    : QObject(parent)
    , m_registry(registry)
    , m_keychain(std::move(keychain))
    , m_executor(executor)
    , m_healthInterval(healthInterval)
    , m_features(features) {
    m_healthTimer.setSingleShot(true);
    // Shares its wake-ups with the program's other periodic work.
    connect(&m_healthTimer, &CoalescedTimer::timeout, this, &AppStartup::refreshHealth);
}

AppStartup::~AppStartup() {
    m_healthTimer.stop();
}

void AppStartup::readCredentialFlag() {
    if (m_features.preview.isPreviewRun()) {
        return;
    }
    // The keyring may wait for the person to answer its unlock prompt: read off the GUI thread
    // and fill the flag in when the read completes.
    const std::shared_ptr<KeychainService> keychain = m_keychain;
    const QFuture<bool> reading =
        runInBackground(m_executor, TaskExecutor::Priority::userInitiated, [keychain] {
            try {
                return keychain->read(KeychainService::openRouterAccount).has_value();
            } catch (const KeychainError& error) {
                // Stored but left locked: the views must not ask for a new key.
                return error.itemIsLocked();
            }
        });
    whenFinished(reading, this, [this](const QFuture<bool>& done) {
        bool stored = false;
        try {
            stored = resultOf(done).value_or(false);
        } catch (...) {
            // Any other keyring failure counts as no key; sending reports the real error.
            logSwallowedFailure("Looking up the stored OpenRouter key");
        }
        assign(this, m_credentialIsStored, stored, &AppStartup::credentialIsStoredChanged);
    });
}

QFuture<void> AppStartup::start() {
    if (m_hasStarted) {
        return QtFuture::makeReadyFuture();
    }
    m_hasStarted = true;

    // The history loads on its own (started with the model); the windows do not wait for it.
    continueStart();
    return QtFuture::makeReadyFuture();
}

void AppStartup::continueStart() {
    if (m_features.preview.isMiniAIRun()) {
        m_features.preview.showMiniAI();
        startModules();
        return;
    }

    m_features.windows.createControllers();
    m_features.shortcuts.install();
    startModules();
    m_features.preview.act();
    refreshHealth();
}

void AppStartup::startModules() {
    // The registry skips a module switched off while the ones before it were starting.
    whenFinished(m_registry.startEnabledModules(), this,
                 [this](const QFuture<void>&) { m_features.palette.rebuild(); });
}

void AppStartup::refreshHealth() {
    whenFinished(m_registry.refreshHealth(), this,
                 [this](const QFuture<void>&) { m_healthTimer.start(m_healthInterval); });
}

} // namespace plimbo
