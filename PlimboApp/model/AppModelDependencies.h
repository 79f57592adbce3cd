#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace plimbo {

class AIChatHistoryStore;
class AIStreamingClient;
class AppSurfaceFactory;
class ClipboardService;
class Clock;
class FileChooser;
class GlobalHotKeyController;
class GlobalSurfaceFocusCoordinator;
class KeepAwakeService;
class KeychainService;
class LauncherService;
class MiniCamera;
class Pasteboard;
class PermissionCenter;
class SettingsStore;
class SystemActions;
class SystemMonitorService;
class TaskExecutor;

// Everything the application model works through. The model keeps these for its whole life;
// production() gives the real ones, tests hand in fakes. The services are QObjects without a
// parent, owned through these pointers.
struct AppModelDependencies {
    // The keychain service that holds the OpenRouter API key.
    static inline const QString keychainServiceName = QStringLiteral("com.plimbo.utility");

    // The process arguments, the program path first (the preview switches live here).
    QStringList arguments;
    // The user's defaults: module switches and the two notch switches.
    std::shared_ptr<SettingsStore> settings;
    std::shared_ptr<const Clock> clock;
    // Background work: message building, attachment files, the key lookup, clean-ups.
    std::shared_ptr<TaskExecutor> executor;
    std::shared_ptr<KeychainService> keychain;
    std::shared_ptr<AIChatHistoryStore> historyStore;
    std::shared_ptr<AIStreamingClient> aiClient;
    // Where copied replies go.
    std::shared_ptr<Pasteboard> pasteboard;

    std::shared_ptr<LauncherService> launcher;
    std::shared_ptr<ClipboardService> clipboard;
    std::shared_ptr<KeepAwakeService> keepAwake;
    std::shared_ptr<SystemMonitorService> systemMonitor;
    std::shared_ptr<PermissionCenter> permissions;

    // Screenshots, AirDrop and the file shelf's copy, open and reveal.
    std::shared_ptr<SystemActions> systemActions;
    std::shared_ptr<GlobalSurfaceFocusCoordinator> focusCoordinator;
    // A new controller each time the shortcuts are installed.
    std::function<std::unique_ptr<GlobalHotKeyController>()> makeHotKeyController;

    // Optional: without them the model skips what they do (no windows, no camera, no dialogs).
    std::shared_ptr<AppSurfaceFactory> surfaces;
    std::shared_ptr<MiniCamera> miniCamera;
    std::shared_ptr<FileChooser> fileChooser;

    // The program file, first on the notch preview's shelf.
    QString applicationPath;
    // The folder holding "PlimboIcon.png", when the installation has one.
    std::optional<QString> resourceDirectory;
    // Pause between two module health refreshes.
    std::chrono::milliseconds healthInterval{std::chrono::seconds(4)};

    // The desktop's own facilities, with the user's settings, keyring and data folders. Needs
    // a running QGuiApplication. Surfaces, camera and file dialogs are left for the shell.
    static AppModelDependencies production();
};

} // namespace plimbo
