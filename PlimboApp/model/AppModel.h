#pragma once

#include "AIChatAttachment.h"
#include "AIChatSession.h"
#include "AIChatTurn.h"
#include "AIChatTurnState.h"
#include "AIMessage.h"
#include "AIUsage.h"
#include "AppModelDependencies.h"
#include "AppSection.h"
#include "AppStartup.h"
#include "ChatComposer.h"
#include "ChatFeatures.h"
#include "ChatList.h"
#include "ChatReply.h"
#include "ChatSession.h"
#include "CommandPalette.h"
#include "DesktopActions.h"
#include "GlobalShortcuts.h"
#include "NotchSurface.h"
#include "PaletteItem.h"
#include "PlimboGlobalShortcut.h"
#include "PresentedError.h"
#include "PreviewRun.h"
#include "SettingsSection.h"
#include "StoredAttachments.h"
#include "WindowRouter.h"

#include <QFuture>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

namespace plimbo {

class AppWindowController;
class MiniAIController;
class ModuleRegistry;
class NotchController;
class QuickPanelController;

// The application's one model and the one object the views bind to: owns every service, store
// and client, and composes the features that hold the state and the logic (the chat list, the
// composer, the chat session, the palette, the windows, the shortcuts, the notch, the desktop
// actions, the preview switches and the start-up). Its properties and operations forward to
// them; what stays here is the construction order, presentedError (every feature's failed()
// ends there) and the palette's actions, which cross features. Main thread only. Every
// property notifies only when its value changes; in-place list changes always notify, and
// every assignment of paletteQuery rebuilds paletteResults.
class AppModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(plimbo::AppSection selectedSection READ selectedSection WRITE setSelectedSection
                   NOTIFY selectedSectionChanged)
    Q_PROPERTY(plimbo::SettingsSection selectedSettingsSection READ selectedSettingsSection WRITE
                   setSelectedSettingsSection NOTIFY selectedSettingsSectionChanged)
    Q_PROPERTY(
        QString paletteQuery READ paletteQuery WRITE setPaletteQuery NOTIFY paletteQueryChanged)
    Q_PROPERTY(
        QList<plimbo::PaletteItem> paletteResults READ paletteResults NOTIFY paletteResultsChanged)
    Q_PROPERTY(bool credentialIsStored READ credentialIsStored NOTIFY credentialIsStoredChanged)
    Q_PROPERTY(QString aiInput READ aiInput WRITE setAiInput NOTIFY aiInputChanged)
    Q_PROPERTY(QString aiOutput READ aiOutput NOTIFY aiOutputChanged)
    Q_PROPERTY(plimbo::ChatStatus aiStatus READ aiStatus NOTIFY aiStatusChanged)
    Q_PROPERTY(std::optional<plimbo::AIUsage> aiUsage READ aiUsage NOTIFY aiUsageChanged)
    Q_PROPERTY(
        QList<plimbo::AIChatTurn> aiConversation READ aiConversation NOTIFY aiConversationChanged)
    Q_PROPERTY(QList<plimbo::AIChatSession> aiChats READ aiChats NOTIFY aiChatsChanged)
    Q_PROPERTY(QList<plimbo::AIChatAttachment> pendingAIAttachments READ pendingAIAttachments NOTIFY
                   pendingAIAttachmentsChanged)
    Q_PROPERTY(
        bool isAddingAIAttachments READ isAddingAIAttachments NOTIFY isAddingAIAttachmentsChanged)
    Q_PROPERTY(
        std::optional<QUuid> selectedAIChatID READ selectedAIChatID NOTIFY selectedAIChatIDChanged)
    Q_PROPERTY(bool isGenerating READ isGenerating NOTIFY isGeneratingChanged)
    Q_PROPERTY(std::optional<QString> presentedError READ presentedError WRITE setPresentedError
                   NOTIFY presentedErrorChanged)
    Q_PROPERTY(bool notchSurfaceEnabled READ notchSurfaceEnabled WRITE setNotchSurfaceEnabled NOTIFY
                   notchSurfaceEnabledChanged)
    Q_PROPERTY(bool virtualNotchEnabled READ virtualNotchEnabled WRITE setVirtualNotchEnabled NOTIFY
                   virtualNotchEnabledChanged)
    Q_PROPERTY(QList<QUrl> pendingDropURLs READ pendingDropURLs WRITE setPendingDropURLs NOTIFY
                   pendingDropURLsChanged)
    Q_PROPERTY(plimbo::GlobalShortcutSet registeredGlobalShortcuts READ registeredGlobalShortcuts
                   NOTIFY registeredGlobalShortcutsChanged)

public:
    // The keychain service that holds the OpenRouter API key.
    static inline const QString keychainServiceName = AppModelDependencies::keychainServiceName;

    // Builds everything, reads the notch switches and the key flag, and starts loading the chat
    // history in the background (isAIHistoryLoaded() tells when it is published). Opens no
    // window.
    explicit AppModel(AppModelDependencies dependencies, QObject* parent = nullptr);
    ~AppModel() override;

    // --- services, for the views to read and call directly
    ModuleRegistry& registry() const { return *m_registry; }
    LauncherService& launcher() const { return *m_deps.launcher; }
    ClipboardService& clipboard() const { return *m_deps.clipboard; }
    KeepAwakeService& keepAwake() const { return *m_deps.keepAwake; }
    SystemMonitorService& systemMonitor() const { return *m_deps.systemMonitor; }
    PermissionCenter& permissions() const { return *m_deps.permissions; }
    // Null when this installation has no camera preview.
    MiniCamera* miniCamera() const { return m_deps.miniCamera.get(); }
    GlobalSurfaceFocusCoordinator& globalSurfaceFocus() const { return *m_deps.focusCoordinator; }

    // --- features, for the shell to hand each view the ones it shows
    WindowRouter& windows() { return m_windows; }
    GlobalShortcuts& shortcuts() { return m_shortcuts; }
    const GlobalShortcuts& shortcuts() const { return m_shortcuts; }
    NotchSurface& notch() { return m_notch; }
    DesktopActions& desktop() { return m_desktop; }
    AppStartup& startup() { return m_startup; }
    PresentedError& errors() { return m_presentedError; }
    CommandPalette& palette() { return m_palette; }
    ChatFeatures chatFeatures();

    // --- controllers, null until start() created them
    QuickPanelController* paletteController() const { return m_windows.palette(); }
    QuickPanelController* launcherController() const { return m_windows.launcher(); }
    QuickPanelController* clipboardController() const { return m_windows.clipboard(); }
    AppWindowController* dashboardController() const { return m_windows.dashboard(); }
    AppWindowController* settingsController() const { return m_windows.settings(); }
    AppWindowController* aboutController() const { return m_windows.about(); }
    AppWindowController* menuPreviewController() const { return m_windows.menuPreview(); }
    MiniAIController* miniAIController() const { return m_windows.miniAI(); }
    NotchController* notchController() const { return m_windows.notch(); }

    // --- observable state
    AppSection selectedSection() const { return m_windows.selectedSection(); }
    void setSelectedSection(AppSection section);
    SettingsSection selectedSettingsSection() const { return m_windows.selectedSettingsSection(); }
    void setSelectedSettingsSection(SettingsSection section);
    QString paletteQuery() const { return m_palette.query(); }
    // Always rebuilds the results, even when the text is unchanged.
    void setPaletteQuery(const QString& query);
    QList<PaletteItem> paletteResults() const { return m_palette.results(); }
    bool credentialIsStored() const { return m_startup.credentialIsStored(); }
    QString aiInput() const { return m_composer.input(); }
    void setAiInput(const QString& input);
    QString aiOutput() const { return m_session.output(); }
    ChatStatus aiStatus() const { return m_session.status(); }
    std::optional<AIUsage> aiUsage() const { return m_session.usage(); }
    QList<AIChatTurn> aiConversation() const { return m_chats.conversation(); }
    QList<AIChatSession> aiChats() const { return m_chats.chats(); }
    QList<AIChatAttachment> pendingAIAttachments() const { return m_composer.pendingAttachments(); }
    bool isAddingAIAttachments() const { return m_composer.isAdding(); }
    std::optional<QUuid> selectedAIChatID() const { return m_chats.selectedID(); }
    bool isGenerating() const { return m_session.isGenerating(); }
    std::optional<QString> presentedError() const { return m_presentedError.message(); }
    // Views set it back to none when their alert closes.
    void setPresentedError(const std::optional<QString>& error);
    bool notchSurfaceEnabled() const { return m_notch.surfaceEnabled(); }
    bool virtualNotchEnabled() const { return m_notch.virtualNotchEnabled(); }
    QList<QUrl> pendingDropURLs() const { return m_desktop.shelfURLs(); }
    // The notch empties the shelf with an empty list.
    void setPendingDropURLs(const QList<QUrl>& urls);
    GlobalShortcutSet registeredGlobalShortcuts() const {
        return m_shortcuts.registeredShortcuts();
    }
    // The keys of a global shortcut as the desktop bound them, or ours while it bound none.
    QString globalShortcutLabel(PlimboGlobalShortcut shortcut) const {
        return m_shortcuts.label(shortcut);
    }
    GlobalShortcutState globalShortcutState(PlimboGlobalShortcut shortcut) const {
        return m_shortcuts.state(shortcut);
    }

    // --- start-up and windows
    // Runs once; later calls finish at once. Builds the controllers, installs the shortcuts,
    // starts the enabled modules, acts on a preview switch or presents the notch, and starts the
    // health loop; the history (and after it the attachment folder's clean-up) loads in the
    // background meanwhile. The future finishes when that sequence has run (the modules may
    // still be starting).
    QFuture<void> start();
    // Drops the current hot keys and registers the three shortcuts again.
    void retryGlobalShortcuts();
    void showDashboard(AppSection section);
    void openSettings(SettingsSection section);
    void showCommandPalette();
    void showLauncher();
    void showClipboard();
    void showAbout();
    // Starts a fresh chat, then shows the mini assistant.
    void showMiniAI();

    // --- chats
    void sendAI();
    void stopAI();
    void newAIChat();
    void selectAIChat(const QUuid& id);
    void renameAIChat(const QUuid& id, const QString& title);
    void deleteAIChat(const QUuid& id);
    void copyAIMessage(const QString& text);
    void retryAIChatTurn(const AIChatTurn& turn);

    // --- attachments
    // Opens the file dialog; the chosen files go to addAIAttachments(), and the user is told
    // when they could not be taken. False, and no dialog, while a reply is generated, while
    // attachments are added or where the desktop offers none; otherwise `closed` runs when the
    // dialog closes, before its files are added.
    bool chooseAIAttachments(std::function<void()> closed = {});
    // Starts reading the files into pending attachments (once the history is loaded); false
    // (and nothing changes) while a reply is generated, while attachments are added, or for an
    // empty list.
    bool addAIAttachments(const QList<QUrl>& fileURLs);
    void removePendingAIAttachment(const QUuid& id);
    // The decoded image of an image attachment, when one is cached; never loads anything.
    std::optional<QImage> imageForAIAttachment(const AIChatAttachment& attachment) const;
    // False until the chat history is published (nothing is sent or attached before).
    bool isAIHistoryLoaded() const { return m_chats.isLoaded(); }

    // --- palette
    void perform(const PaletteItem& item);

    // --- system actions
    void setNotchSurfaceEnabled(bool enabled);
    void setVirtualNotchEnabled(bool enabled);
    // Applied in the background; returns at once.
    void setModuleEnabled(bool enabled, const QString& id);
    // Asks for files to share (nothing when sharing is unavailable: that is reported at once).
    void startAirDrop();
    void performAirDrop(const QList<QUrl>& fileURLs);
    void startScreenshot();
    void receiveDroppedFiles(const QList<QUrl>& urls);
    // Notifies even when nothing matched.
    void removeDroppedFile(const QUrl& url);
    void copyPendingFiles();
    void openPendingFiles();
    void revealPendingFiles();
    void toggleMiniCamera();

signals:
    void selectedSectionChanged();
    void selectedSettingsSectionChanged();
    void paletteQueryChanged();
    void paletteResultsChanged();
    void credentialIsStoredChanged();
    void aiInputChanged();
    void aiOutputChanged();
    void aiStatusChanged();
    void aiUsageChanged();
    void aiConversationChanged();
    void aiChatsChanged();
    void pendingAIAttachmentsChanged();
    void isAddingAIAttachmentsChanged();
    void selectedAIChatIDChanged();
    void isGeneratingChanged();
    void presentedErrorChanged();
    void notchSurfaceEnabledChanged();
    void virtualNotchEnabledChanged();
    void pendingDropURLsChanged();
    void registeredGlobalShortcutsChanged();
    void globalShortcutLabelsChanged();
    void aiHistoryLoadedChanged();
    // The image of this attachment was just decoded: imageForAIAttachment() now has it.
    void attachmentImageReady(const QUuid& attachmentID);

private:
    // Wires every feature's notifications to the properties above.
    void forwardSignals();

    AppModelDependencies m_deps; // first: every feature below borrows from it
    std::unique_ptr<ModuleRegistry> m_registry;
    PresentedError m_presentedError;

    // The chat features, in the order they lean on each other: the files and thumbnails, the
    // history, the windows, the draft, then the session that sends the draft into the history.
    StoredAttachments m_attachments;
    ChatList m_chats;
    WindowRouter m_windows;
    ChatComposer m_composer;
    ChatSession m_session;

    // The rest of what the views show and call.
    CommandPalette m_palette;
    GlobalShortcuts m_shortcuts;
    NotchSurface m_notch;
    DesktopActions m_desktop;

    // Last: they drive all of the above.
    PreviewRun m_preview;
    AppStartup m_startup;
};

} // namespace plimbo
