#pragma once

#include "CoalescedTimer.h"

#include <QFuture>
#include <QObject>

#include <chrono>
#include <memory>

namespace plimbo {

class CommandPalette;
class GlobalShortcuts;
class KeychainService;
class ModuleRegistry;
class PreviewRun;
class TaskExecutor;
class WindowRouter;

// The program's start-up, in order: whether an API key is stored (read once, never in a preview
// run), then, from start(), the windows, the global shortcuts, the modules, the preview
// switches or the notch, and the module health loop. The chat history (and the attachment
// folder's clean-up) loads in the background meanwhile, so the windows never wait for it. Main
// thread only.
class AppStartup : public QObject {
    Q_OBJECT

public:
    struct Features {
        WindowRouter& windows;
        GlobalShortcuts& shortcuts;
        CommandPalette& palette;
        PreviewRun& preview;
    };

    AppStartup(ModuleRegistry& registry, std::shared_ptr<KeychainService> keychain,
               TaskExecutor& executor, std::chrono::milliseconds healthInterval, Features features,
               QObject* parent = nullptr);
    ~AppStartup() override;

    bool credentialIsStored() const { return m_credentialIsStored; }
    // Starts reading the key flag in the background (the keyring may wait for its unlock prompt);
    // a key whose keyring stays locked counts as stored, any other keyring error as no key, and
    // a preview run never asks.
    void readCredentialFlag();

    // Runs once; later calls finish at once. The future finishes when the sequence has run
    // (the modules may still be starting).
    QFuture<void> start();

signals:
    void credentialIsStoredChanged();

private:
    void continueStart();
    void startModules();
    void refreshHealth();

    ModuleRegistry& m_registry;
    std::shared_ptr<KeychainService> m_keychain;
    TaskExecutor& m_executor;
    std::chrono::milliseconds m_healthInterval;
    Features m_features;
    CoalescedTimer m_healthTimer;
    bool m_credentialIsStored = false;
    bool m_hasStarted = false;
};

} // namespace plimbo
