#include "AppModel.h"

#include "AIChatHistoryStore.h"
#include "AIStreamingClient.h"
#include "AppSurfaceFactory.h"
#include "AppWindowController.h"
#include "ApplicationRecord.h"
#include "ClipboardService.h"
#include "Clock.h"
#include "GlobalHotKeyController.h"
#include "GlobalSurfaceFocusCoordinator.h"
#include "KeepAwakeService.h"
#include "KeychainService.h"
#include "LauncherService.h"
#include "MiniAIController.h"
#include "ModuleRegistry.h"
#include "NotchController.h"
#include "PermissionCenter.h"
#include "PropertyAssign.h"
#include "QuickPanelController.h"
#include "SystemActions.h"
#include "SystemMonitorService.h"
#include "TaskExecutor.h"

namespace plimbo {

namespace {

// The shell's factory with the model bound in: the views it builds bind to `model`.
WindowRouter::Makers surfaceMakers(AppSurfaceFactory* factory, AppModel& model,
                                   GlobalSurfaceFocusCoordinator& focus) {
    if (!factory) {
        return {};
    }
    AppSurfaceFactory& f = *factory;
    return {
        .palette = [&f, &model, &focus] { return f.makeCommandPalette(model, focus); },
        .launcher = [&f, &model, &focus] { return f.makeLauncher(model, focus); },
        .clipboard = [&f, &model, &focus] { return f.makeClipboard(model, focus); },
        .dashboard = [&f, &model] { return f.makeDashboard(model); },
        .settings = [&f, &model] { return f.makeSettings(model); },
        .about = [&f] { return f.makeAbout(); },
        .menuPreview = [&f, &model] { return f.makeMenuPreview(model); },
        .miniAI = [&f, &model] { return f.makeMiniAI(model); },
        .notch = [&f, &model] { return f.makeNotch(model); },
    };
}

} // namespace

AppModel::AppModel(AppModelDependencies dependencies, QObject* parent)
    : QObject(parent)
    , m_deps(std::move(dependencies))
    , m_registry(std::make_unique<ModuleRegistry>(*m_deps.settings))
    , m_attachments(m_deps.historyStore, *m_deps.executor)
    , m_chats(m_deps.historyStore, *m_deps.clock, m_attachments)
    , m_windows(surfaceMakers(m_deps.surfaces.get(), *this, *m_deps.focusCoordinator),
                *m_deps.focusCoordinator)
    , m_composer(m_deps.historyStore, *m_deps.executor, m_attachments, m_chats,
                 m_deps.fileChooser.get())
    , m_session(
          m_chats, m_composer, m_attachments, *m_deps.clock,
          [store = m_deps.historyStore, keychain = m_deps.keychain, client = m_deps.aiClient,
           executor = m_deps.executor](const QUuid& requestID) {
              return std::make_unique<ChatReply>(requestID, store, keychain, *client, *executor);
          },
          m_deps.aiClient, m_deps.pasteboard.get())
    , m_palette(*m_deps.launcher, *m_deps.clipboard, *m_deps.keepAwake)
    , m_shortcuts(m_deps.makeHotKeyController,
                  [this](PlimboGlobalShortcut shortcut) {
                      switch (shortcut) {
                      case PlimboGlobalShortcut::commandPalette:
                          showCommandPalette();
                          break;
                      case PlimboGlobalShortcut::launcher:
                          showLauncher();
                          break;
                      case PlimboGlobalShortcut::clipboard:
                          showClipboard();
                          break;
                      }
                  })
    , m_notch(*m_deps.settings, m_windows)
    , m_desktop(*m_deps.systemActions, m_deps.fileChooser.get(), m_deps.miniCamera.get())
    , m_preview(m_deps.arguments, m_deps.applicationPath, m_deps.resourceDirectory, *m_deps.clock,
                PreviewRun::Surfaces{m_chats, m_composer, m_session, m_attachments, m_windows,
                                     m_notch, m_desktop})
    , m_startup(*m_registry, m_deps.keychain, *m_deps.executor, m_deps.healthInterval,
                AppStartup::Features{m_windows, m_shortcuts, m_palette, m_preview}) {
    m_registry->registerModule(m_deps.launcher, true);
    m_registry->registerModule(m_deps.clipboard, true);
    m_registry->registerModule(m_deps.keepAwake, true);
    m_registry->registerModule(m_deps.systemMonitor, true);

    forwardSignals();
    m_startup.readCredentialFlag();
    m_chats.load(*m_deps.executor);
    m_palette.rebuild();
}

AppModel::~AppModel() {
    // The views go first: none of them may outlive the features it shows.
    m_windows.destroyControllers();
}

void AppModel::forwardSignals() {
    connect(&m_windows, &WindowRouter::selectedSectionChanged, this,
            &AppModel::selectedSectionChanged);
    connect(&m_windows, &WindowRouter::selectedSettingsSectionChanged, this,
            &AppModel::selectedSettingsSectionChanged);
    connect(&m_palette, &CommandPalette::queryChanged, this, &AppModel::paletteQueryChanged);
    connect(&m_palette, &CommandPalette::resultsChanged, this, &AppModel::paletteResultsChanged);
    connect(&m_startup, &AppStartup::credentialIsStoredChanged, this,
            &AppModel::credentialIsStoredChanged);
    connect(&m_composer, &ChatComposer::inputChanged, this, &AppModel::aiInputChanged);
    connect(&m_composer, &ChatComposer::pendingAttachmentsChanged, this,
            &AppModel::pendingAIAttachmentsChanged);
    connect(&m_composer, &ChatComposer::isAddingChanged, this,
            &AppModel::isAddingAIAttachmentsChanged);
    connect(&m_session, &ChatSession::outputChanged, this, &AppModel::aiOutputChanged);
    connect(&m_session, &ChatSession::statusChanged, this, &AppModel::aiStatusChanged);
    connect(&m_session, &ChatSession::usageChanged, this, &AppModel::aiUsageChanged);
    connect(&m_session, &ChatSession::isGeneratingChanged, this, &AppModel::isGeneratingChanged);
    connect(&m_chats, &ChatList::conversationChanged, this, &AppModel::aiConversationChanged);
    connect(&m_chats, &ChatList::chatsChanged, this, &AppModel::aiChatsChanged);
    connect(&m_chats, &ChatList::selectedIDChanged, this, &AppModel::selectedAIChatIDChanged);
    connect(&m_notch, &NotchSurface::surfaceEnabledChanged, this,
            &AppModel::notchSurfaceEnabledChanged);
    connect(&m_notch, &NotchSurface::virtualNotchEnabledChanged, this,
            &AppModel::virtualNotchEnabledChanged);
    connect(&m_desktop, &DesktopActions::shelfURLsChanged, this, &AppModel::pendingDropURLsChanged);
    connect(&m_shortcuts, &GlobalShortcuts::registeredShortcutsChanged, this,
            &AppModel::registeredGlobalShortcutsChanged);
    connect(&m_shortcuts, &GlobalShortcuts::labelsChanged, this,
            &AppModel::globalShortcutLabelsChanged);
    connect(&m_chats, &ChatList::isLoadedChanged, this, &AppModel::aiHistoryLoadedChanged);
    connect(&m_attachments, &StoredAttachments::imageReady, this, &AppModel::attachmentImageReady);
    connect(&m_presentedError, &PresentedError::messageChanged, this,
            &AppModel::presentedErrorChanged);

    // The one place a user-facing failure becomes the alert's text.
    const auto present = [this](const QString& message) {
        setPresentedError(message);
    };
    connect(&m_chats, &ChatList::failed, this, present);
    connect(&m_composer, &ChatComposer::failed, this, present);
    connect(&m_session, &ChatSession::failed, this, present);
    connect(&m_desktop, &DesktopActions::failed, this, present);
    connect(m_deps.keepAwake.get(), &KeepAwakeService::failed, this, present);
    connect(m_deps.launcher.get(), &LauncherService::failed, this, present);
}

ChatFeatures AppModel::chatFeatures() {
    return ChatFeatures{
        m_chats,
        m_composer,
        m_session,
        m_attachments,
        m_startup,
        [this](std::function<void()> closed) { return chooseAIAttachments(std::move(closed)); },
        [this](const QList<QUrl>& fileURLs) { return addAIAttachments(fileURLs); },
    };
}

// ---------------------------------------------------------------- observable state

void AppModel::setSelectedSection(AppSection section) {
    m_windows.setSelectedSection(section);
}

void AppModel::setSelectedSettingsSection(SettingsSection section) {
    m_windows.setSelectedSettingsSection(section);
}

void AppModel::setPaletteQuery(const QString& query) {
    m_palette.setQuery(query);
}

void AppModel::setAiInput(const QString& input) {
    m_composer.setInput(input);
}

void AppModel::setPresentedError(const std::optional<QString>& error) {
    m_presentedError.setMessage(error);
}

void AppModel::setPendingDropURLs(const QList<QUrl>& urls) {
    m_desktop.setShelfURLs(urls);
}

// ---------------------------------------------------------------- start-up and windows

QFuture<void> AppModel::start() {
    return m_startup.start();
}

void AppModel::retryGlobalShortcuts() {
    m_shortcuts.retry();
}

void AppModel::showDashboard(AppSection section) {
    m_windows.showDashboard(section);
}

void AppModel::openSettings(SettingsSection section) {
    m_windows.openSettings(section);
}

void AppModel::showCommandPalette() {
    m_palette.setQuery(QString());
    m_windows.showQuickPanel(m_windows.palette());
}

void AppModel::showLauncher() {
    m_windows.showQuickPanel(m_windows.launcher());
}

void AppModel::showClipboard() {
    m_windows.showQuickPanel(m_windows.clipboard());
}

void AppModel::showAbout() {
    m_windows.showAbout();
}

void AppModel::showMiniAI() {
    m_session.newChat();
    m_windows.showMiniAI();
}

// ---------------------------------------------------------------- chats

void AppModel::sendAI() {
    m_session.send();
}

void AppModel::stopAI() {
    m_session.stop();
}

void AppModel::newAIChat() {
    m_session.newChat();
}

void AppModel::selectAIChat(const QUuid& id) {
    m_session.selectChat(id);
}

void AppModel::renameAIChat(const QUuid& id, const QString& title) {
    m_chats.rename(id, title);
}

void AppModel::deleteAIChat(const QUuid& id) {
    m_session.deleteChat(id);
}

void AppModel::copyAIMessage(const QString& text) {
    m_session.copyMessage(text);
}

void AppModel::retryAIChatTurn(const AIChatTurn& turn) {
    m_session.retry(turn);
}

// ---------------------------------------------------------------- attachments

bool AppModel::chooseAIAttachments(std::function<void()> closed) {
    // Nothing joins the draft while a reply is generated.
    if (m_session.isGenerating()) {
        return false;
    }
    return m_composer.choose([this, closed = std::move(closed)](const QList<QUrl>& urls) {
        if (closed) {
            closed();
        }
        // The dialog may have stayed open while a reply or a drop began.
        if (!urls.isEmpty() && !addAIAttachments(urls)) {
            setPresentedError(QStringLiteral(
                "The chosen files were not attached because a reply or another attachment is "
                "still in progress. Choose them again when it has finished."));
        }
    });
}

bool AppModel::addAIAttachments(const QList<QUrl>& fileURLs) {
    if (m_session.isGenerating()) {
        return false;
    }
    return m_composer.add(fileURLs);
}

void AppModel::removePendingAIAttachment(const QUuid& id) {
    m_composer.removePending(id);
}

std::optional<QImage> AppModel::imageForAIAttachment(const AIChatAttachment& attachment) const {
    return m_attachments.image(attachment);
}

// ---------------------------------------------------------------- palette

void AppModel::perform(const PaletteItem& item) {
    m_windows.hideQuickPanel(m_windows.palette());
    const PaletteAction::Kind action = item.action.kind();
    GlobalSurfaceFocusCoordinator& focus = *m_deps.focusCoordinator;
    focus.beforePaletteAction(action);
    switch (action) {
    case PaletteAction::Kind::launchApplication:
        m_deps.launcher->launch(ApplicationRecord(item.title, item.action.applicationURL()));
        break;
    case PaletteAction::Kind::copyClipboard:
        m_deps.clipboard->copyAgain(item.action.clipboardItemID());
        break;
    case PaletteAction::Kind::openDashboard:
        showDashboard(AppSection::overview);
        break;
    case PaletteAction::Kind::openLauncher:
        showLauncher();
        break;
    case PaletteAction::Kind::openClipboard:
        showClipboard();
        break;
    case PaletteAction::Kind::openSettings:
        openSettings(SettingsSection::general);
        break;
    case PaletteAction::Kind::openAI:
        showMiniAI();
        break;
    case PaletteAction::Kind::airDrop:
        startAirDrop();
        break;
    case PaletteAction::Kind::screenshot:
        startScreenshot();
        break;
    case PaletteAction::Kind::toggleKeepAwake:
        m_deps.keepAwake->toggle();
        break;
    }
    focus.afterPaletteAction(action);
}

// ---------------------------------------------------------------- system actions

void AppModel::setNotchSurfaceEnabled(bool enabled) {
    m_notch.setSurfaceEnabled(enabled);
}

void AppModel::setVirtualNotchEnabled(bool enabled) {
    m_notch.setVirtualNotchEnabled(enabled);
}

void AppModel::setModuleEnabled(bool enabled, const QString& id) {
    m_registry->setEnabled(enabled, id);
}

void AppModel::startAirDrop() {
    m_desktop.startAirDrop();
}

void AppModel::performAirDrop(const QList<QUrl>& fileURLs) {
    m_desktop.performAirDrop(fileURLs);
}

void AppModel::startScreenshot() {
    m_desktop.startScreenshot();
}

void AppModel::receiveDroppedFiles(const QList<QUrl>& urls) {
    m_desktop.receiveDroppedFiles(urls);
}

void AppModel::removeDroppedFile(const QUrl& url) {
    m_desktop.removeDroppedFile(url);
}

void AppModel::copyPendingFiles() {
    m_desktop.copyShelfFiles();
}

void AppModel::openPendingFiles() {
    m_desktop.openShelfFiles();
}

void AppModel::revealPendingFiles() {
    m_desktop.revealShelfFiles();
}

void AppModel::toggleMiniCamera() {
    m_desktop.toggleMiniCamera();
}

} // namespace plimbo
