#include "AppModelDependencies.h"

#include "AIChatHistoryStore.h"
#include "ClipboardService.h"
#include "GlobalHotKeyController.h"
#include "GlobalSurfaceFocusCoordinator.h"
#include "KeepAwakeService.h"
#include "KeychainService.h"
#include "LauncherService.h"
#include "LibsecretSecretStore.h"
#include "OpenRouterClient.h"
#include "OpenRouterStreamingClient.h"
#include "PermissionCenter.h"
#include "PlimboGlobalShortcut.h"
#include "QSettingsStore.h"
#include "RuntimeResources.h"
#include "SystemActions.h"
#include "SystemClock.h"
#include "SystemMonitorService.h"
#include "SystemPasteboard.h"
#include "ThreadPoolTaskExecutor.h"
#include "X11WindowActivation.h"
#include "XdgFileLocations.h"

#include <QCoreApplication>

namespace plimbo {

namespace {

constexpr int clipboardHistoryLimit = 100;

} // namespace

AppModelDependencies AppModelDependencies::production() {
    AppModelDependencies dependencies;
    dependencies.arguments = QCoreApplication::arguments();
    dependencies.settings = std::make_shared<QSettingsStore>();
    dependencies.clock = std::make_shared<SystemClock>();
    dependencies.executor = std::make_shared<ThreadPoolTaskExecutor>();
    dependencies.keychain = std::make_shared<KeychainService>(
        keychainServiceName, std::make_shared<LibsecretSecretStore>());
    dependencies.historyStore =
        std::make_shared<AIChatHistoryStore>(std::nullopt, std::nullopt, XdgFileLocations());
    dependencies.aiClient =
        std::make_shared<OpenRouterStreamingClient>(std::make_shared<OpenRouterClient>());
    dependencies.pasteboard = std::make_shared<SystemPasteboard>();

    dependencies.launcher = std::make_shared<LauncherService>();
    dependencies.clipboard = std::make_shared<ClipboardService>(clipboardHistoryLimit);
    dependencies.keepAwake = std::make_shared<KeepAwakeService>();
    dependencies.systemMonitor = std::make_shared<SystemMonitorService>();
    dependencies.permissions = std::make_shared<PermissionCenter>();

    dependencies.systemActions = std::make_shared<SystemActions>(SystemActions::desktopPlatform());
    dependencies.focusCoordinator =
        std::make_shared<GlobalSurfaceFocusCoordinator>(std::make_shared<X11WindowActivation>());
    dependencies.makeHotKeyController = [] {
        // X11 grabs in an X11 session, the desktop portal in a Wayland one.
        QHash<quint32, GlobalHotKeyController::PortalShortcut> names;
        for (PlimboGlobalShortcut shortcut : allGlobalShortcuts()) {
            const GlobalShortcutPortalName name = portalNameFor(shortcut);
            names.insert(rawValue(shortcut), {name.id, name.description});
        }
        return std::make_unique<GlobalHotKeyController>(
            GlobalHotKeyController::desktopBackend(names));
    };

    dependencies.applicationPath = QCoreApplication::applicationFilePath();
    dependencies.resourceDirectory = RuntimeResources::directory();
    return dependencies;
}

} // namespace plimbo
