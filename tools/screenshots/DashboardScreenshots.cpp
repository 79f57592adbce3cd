// Renders every dashboard section, every settings tab and the about window offscreen to PNG
// files, on a model with in-memory services and sample content.
//
//     DashboardScreenshots [output folder]     (default: ./screenshots)

#include "AIChatHistoryStore.h"
#include "AboutView.h"
#include "AppModel.h"
#include "ClipboardService.h"
#include "DesktopEntry.h"
#include "FakeAirDropService.h"
#include "FakeApplicationFolders.h"
#include "FakeDesktopServices.h"
#include "FakeFileLocations.h"
#include "FakeFileRevealer.h"
#include "FakeHostStatistics.h"
#include "FakeHotKeyBackend.h"
#include "FakePermissionBackend.h"
#include "FakePowerAssertion.h"
#include "FakeScreenshotTool.h"
#include "FakeWindowActivation.h"
#include "GlobalHotKeyController.h"
#include "GlobalSurfaceFocusCoordinator.h"
#include "InMemoryPasteboard.h"
#include "InMemorySecretStore.h"
#include "InMemorySettingsStore.h"
#include "KeepAwakeService.h"
#include "KeychainService.h"
#include "LauncherService.h"
#include "ModuleRegistry.h"
#include "OpenRouterClient.h"
#include "OpenRouterStreamingClient.h"
#include "PermissionCenter.h"
#include "ScreenshotOutput.h"
#include "ShellViews.h"
#include "SystemActions.h"
#include "SystemClock.h"
#include "SystemMonitorService.h"
#include "ThreadPoolTaskExecutor.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <functional>

using namespace plimbo;

namespace {

void settle(const std::function<bool()>& done, int milliseconds = 3000) {
    QDeadlineTimer deadline(milliseconds);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

void pause(int milliseconds) {
    settle([] { return false; }, milliseconds);
}

bool save(QWidget& window, const QDir& folder, const QString& name) {
    pause(80);
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    return screenshots::writeImage(window.grab().toImage(), path);
}

DesktopEntry application(const QString& name) {
    DesktopEntry entry;
    entry.id = name.toLower().remove(QLatin1Char(' ')) + QStringLiteral(".desktop");
    entry.path = QStringLiteral("/usr/share/applications/") + entry.id;
    entry.type = QStringLiteral("Application");
    entry.name = name;
    entry.exec = name.toLower();
    return entry;
}

QList<AIChatSession> sampleChats() {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const AIChatTurn plan(
        QUuid::createUuid(), QStringLiteral("Plan a focused afternoon."),
        QStringLiteral("Here is a calm plan:\n\n1. **Deep work** for 90 minutes.\n"
                       "2. A short walk.\n3. Review and wrap up."),
        now.addSecs(-600), AIChatTurnState::completed, {});
    const AIChatTurn warm(QUuid::createUuid(), QStringLiteral("Make this message warmer."),
                          QStringLiteral("Of course — paste it here and I'll keep the meaning."),
                          now.addDays(-1), AIChatTurnState::completed, {});
    return {AIChatSession{QUuid::createUuid(),
                          QStringLiteral("Focused afternoon plan"),
                          {plan},
                          plan.createdAt,
                          plan.createdAt},
            AIChatSession{QUuid::createUuid(),
                          QStringLiteral("Warm up a message"),
                          {warm},
                          warm.createdAt,
                          warm.createdAt}};
}

} // namespace

int main(int argc, char** argv) {
    screenshots::preferOffscreen();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plimbo"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QDir folder = screenshots::outputFolder(argc, argv);

    QTemporaryDir root;
    auto clock = std::make_shared<SystemClock>();
    auto store = std::make_shared<AIChatHistoryStore>(
        root.filePath(QStringLiteral("Plimbo/AIChats.json")),
        root.filePath(QStringLiteral("Plimbo/AIChatAttachments")),
        FakeFileLocations(root.path(), root.path()), nullptr, clock);
    store->save(sampleChats());

    auto folders = std::make_shared<FakeApplicationFolders>();
    folders->setEntries(
        {application(QStringLiteral("Calculator")), application(QStringLiteral("Files")),
         application(QStringLiteral("Firefox")), application(QStringLiteral("GIMP")),
         application(QStringLiteral("Terminal")), application(QStringLiteral("Text Editor"))});
    auto host = std::make_shared<FakeHostStatistics>();
    host->memory = {10ULL << 30, 16ULL << 30};
    host->uptimeSeconds = 3 * 86400 + 5 * 3600;
    host->ticks = {1000, 2000};
    auto permissionBackend = std::make_shared<FakePermissionBackend>();
    permissionBackend->access = ScreenCaptureAccess::askEachTime;
    permissionBackend->pages = {SettingsPage::privacy, SettingsPage::sound,
                                SettingsPage::notifications, SettingsPage::autostart};
    auto board = std::make_unique<InMemoryPasteboard>();
    InMemoryPasteboard* clipboardBoard = board.get();
    auto secrets = std::make_shared<InMemorySecretStore>();
    auto hotKeys = std::make_shared<FakeHotKeyBackend::State>();

    AppModelDependencies dependencies;
    dependencies.arguments = {QStringLiteral("plimbo")};
    dependencies.settings = std::make_shared<InMemorySettingsStore>();
    dependencies.clock = clock;
    dependencies.executor = std::make_shared<ThreadPoolTaskExecutor>();
    dependencies.keychain =
        std::make_shared<KeychainService>(AppModel::keychainServiceName, secrets);
    dependencies.historyStore = store;
    dependencies.aiClient =
        std::make_shared<OpenRouterStreamingClient>(std::make_shared<OpenRouterClient>());
    dependencies.pasteboard = std::make_shared<InMemoryPasteboard>();
    dependencies.launcher = std::make_shared<LauncherService>(folders);
    dependencies.clipboard =
        std::make_shared<ClipboardService>(100, std::move(board), std::chrono::milliseconds(5));
    dependencies.keepAwake = std::make_shared<KeepAwakeService>(
        std::make_unique<FakePowerAssertion>(std::make_shared<FakePowerAssertion::State>()));
    auto monitor = std::make_shared<SystemMonitorService>(host);
    monitor->setSampleInterval(std::chrono::milliseconds(40));
    dependencies.systemMonitor = monitor;
    dependencies.permissions = std::make_shared<PermissionCenter>(permissionBackend);
    dependencies.systemActions = std::make_shared<SystemActions>(SystemActions::Platform{
        std::make_shared<FakeDesktopServices>(), std::make_shared<FakeFileRevealer>(),
        std::make_shared<FakeScreenshotTool>(), std::make_shared<FakeAirDropService>(),
        std::make_shared<InMemoryPasteboard>()});
    dependencies.focusCoordinator =
        std::make_shared<GlobalSurfaceFocusCoordinator>(std::make_shared<FakeWindowActivation>());
    dependencies.makeHotKeyController = [hotKeys] {
        return std::make_unique<GlobalHotKeyController>(
            std::make_unique<FakeHotKeyBackend>(hotKeys));
    };
    AppModel model(std::move(dependencies));

    // Modules on, shortcuts registered, a few clipboard captures and two CPU samples.
    QFuture<void> started = model.registry().startEnabledModules();
    settle([&] { return started.isFinished(); });
    model.retryGlobalShortcuts();
    for (const QString& text :
         {QStringLiteral("git log --oneline --graph"), QStringLiteral("Meeting moved to 15:30"),
          QStringLiteral("https://openrouter.ai/docs"),
          QStringLiteral("The quick brown fox jumps over the lazy dog.\nSecond line of a longer "
                         "note that wraps onto more than one line in the list.")}) {
        const qsizetype before = model.clipboard().items().size();
        clipboardBoard->copyText(text);
        settle([&] { return model.clipboard().items().size() > before; });
    }
    host->ticks = {1770, 3000};
    settle([&] { return model.systemMonitor().snapshot().cpuUsage > 0; });
    model.setModuleEnabled(false, QStringLiteral("system-monitor"));
    settle([&] { return !model.systemMonitor().isRunning(); });
    model.setModuleEnabled(false, QStringLiteral("keep-awake"));
    pause(100);
    model.registry().refreshHealth();
    pause(100);

    bool ok = true;
    {
        QWidget window;
        window.setWindowTitle(QStringLiteral("Plimbo"));
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(ShellViews::dashboard(model));
        window.resize(1060, 720);
        window.show();
        for (AppSection section : allAppSections()) {
            model.setSelectedSection(section);
            ok &= save(window, folder, QStringLiteral("dashboard-") + toString(section));
        }
    }
    {
        QWidget window;
        window.setWindowTitle(QStringLiteral("Plimbo Settings"));
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(ShellViews::settings(model));
        window.resize(820, 620);
        window.show();
        for (SettingsSection section : allSettingsSections()) {
            model.setSelectedSettingsSection(section);
            ok &= save(window, folder, QStringLiteral("settings-") + toString(section));
        }
    }
    {
        AboutView about;
        about.show();
        ok &= save(about, folder, QStringLiteral("about"));
    }
    return ok ? 0 : 1;
}
