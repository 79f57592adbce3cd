#pragma once

#include "AIChatAttachment.h"
#include "AIChatSession.h"
#include "AIChatTurn.h"
#include "AIChatTurnState.h"
#include "AIMessage.h"
#include "AIUsage.h"
#include "AppModelDependencies.h"
#include "AppSection.h"
#include "CommandPalette.h"
#include "DesktopActions.h"
#include "GlobalShortcuts.h"
#include "NotchSurface.h"
#include "PaletteItem.h"
#include "PlimboGlobalShortcut.h"
#include "SettingsSection.h"
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

#include <memory>
#include <optional>

namespace plimbo {

class AppWindowController;
class MiniAssistantController;
class ModuleRegistry;
class NotchController;
class QuickPanelController;

// The application's one model: owns every service, store, client and window controller,
// holds everything the views show and carries the logic they call (chats and the send
// pipeline, attachments, the palette, the notch switches and file shelf, the windows).
// Main thread only. Every property notifies only when its value changes; in-place list
// changes always notify, and every assignment of paletteQuery rebuilds paletteResults.
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
    Q_PROPERTY(QString aiStatus READ aiStatus NOTIFY aiStatusChanged)
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
    // History limits, applied at load and after every request.
    static constexpr qsizetype maximumChats = 100;
    static constexpr qsizetype maximumTurnsPerChat = 100;
    // Earlier turns sent along with a new one.
    static constexpr qsizetype priorTurnsPerRequest = 8;
    // A chat title longer than this is cut.
    static constexpr qsizetype maximumTitleLength = 44;
    static inline const QString requestModel = QStringLiteral("openrouter/auto");
    static constexpr double requestTemperature = 0.4;
    // The keychain service that holds the OpenRouter API key.
    static inline const QString keychainServiceName = QStringLiteral("com.plimbo.utility");

    // Builds everything, reads the notch switches and the key flag, loads and repairs the chat
    // history and selects the newest chat. Starts no task and opens no window.
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

    // --- controllers, null until start() created them
    QuickPanelController* paletteController() const { return m_windows.palette(); }
    QuickPanelController* launcherController() const { return m_windows.launcher(); }
    QuickPanelController* clipboardController() const { return m_windows.clipboard(); }
    AppWindowController* dashboardController() const { return m_windows.dashboard(); }
    AppWindowController* settingsController() const { return m_windows.settings(); }
    AppWindowController* aboutController() const { return m_windows.about(); }
    AppWindowController* menuPreviewController() const { return m_windows.menuPreview(); }
    MiniAssistantController* miniAIController() const { return m_windows.miniAssistant(); }
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
    bool credentialIsStored() const { return m_credentialIsStored; }
    QString aiInput() const { return m_aiInput; }
    void setAiInput(const QString& input);
    QString aiOutput() const { return m_aiOutput; }
    QString aiStatus() const { return m_aiStatus; }
    std::optional<AIUsage> aiUsage() const { return m_aiUsage; }
    QList<AIChatTurn> aiConversation() const { return m_aiConversation; }
    QList<AIChatSession> aiChats() const { return m_aiChats; }
    QList<AIChatAttachment> pendingAIAttachments() const { return m_pendingAIAttachments; }
    bool isAddingAIAttachments() const { return m_isAddingAIAttachments; }
    std::optional<QUuid> selectedAIChatID() const { return m_selectedAIChatID; }
    bool isGenerating() const { return m_isGenerating; }
    std::optional<QString> presentedError() const { return m_presentedError; }
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

    // --- start-up and windows
    // Runs once; later calls finish at once. Cleans the attachment folder first (in the
    // background), then builds the controllers, installs the shortcuts, starts the enabled
    // modules, acts on a preview switch or presents the notch, and starts the health loop.
    // The future finishes when that sequence has run (the modules may still be starting).
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
    // Opens the file dialog; the chosen files go to addAIAttachments().
    void chooseAIAttachments();
    // Starts reading the files into pending attachments; false (and nothing changes) while a
    // reply is generated, while attachments are added, or for an empty list.
    bool addAIAttachments(const QList<QUrl>& fileURLs);
    void removePendingAIAttachment(const QUuid& id);
    // The decoded image of an image attachment, when one is cached; never loads anything.
    std::optional<QImage> imageForAIAttachment(const AIChatAttachment& attachment) const;

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

    // --- rules, exposed for their own tests
    // Whitespace runs become one space; longer than 44 characters: the first 43, trimmed, "…".
    static QString chatTitle(const QString& prompt);
    // The prompt of a message that has attachments and no text.
    static QString defaultPrompt(const QList<AIChatAttachment>& attachments);
    static QSet<QString> referencedAttachmentFileNames(const QList<AIChatSession>& chats,
                                                       const QList<AIChatAttachment>& pending);
    // Keeps the newest 100 turns of each chat and the 100 most recently updated chats (sorted
    // newest first, stable); returns the attachments of everything dropped.
    static QList<AIChatAttachment> applyHistoryLimits(QList<AIChatSession>& chats);

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

private:
    struct SendTask;
    struct AttachmentOperation;
    struct IngestionState;

    // initialisation
    void loadHistory();
    bool hasArgument(const QString& argument) const;

    // start-up
    void continueStart();
    void startModules();
    void actOnPreviewSwitches();
    void seedAIChatPreview();
    void seedMiniAIChatPreview();
    void refreshHealth();
    QFuture<void> preloadAttachmentImages(const QList<AIChatAttachment>& attachments);

    // send pipeline
    void runSendTask(const std::shared_ptr<SendTask>& task, const QList<AIChatTurn>& priorTurns,
                     const AIChatTurn& turn);
    void sendWithMessages(const std::shared_ptr<SendTask>& task, const QList<AIMessage>& messages);
    void streamRequest(const std::shared_ptr<SendTask>& task, const QList<AIMessage>& messages,
                       const QString& apiKey);
    void ensureSelectedAIChat(const QString& prompt);
    void syncSelectedAIChat(bool persist);
    void appendAIResponse(const QString& text, const QUuid& requestID, const QUuid& chatID);
    QString response(const QUuid& requestID, const QUuid& chatID) const;
    void finishAIRequest(const QUuid& requestID, const QUuid& chatID, AIChatTurnState state,
                         const std::optional<QString>& failureMessage);
    void persistAIChats();
    void removeStoredAttachments(const QList<AIChatAttachment>& attachments);
    void resizeMiniAIPanel();
    qsizetype indexOfChat(const QUuid& id) const;

    // attachments
    void ingestNext(const std::shared_ptr<AttachmentOperation>& operation,
                    const std::shared_ptr<IngestionState>& state);
    void endIngestion(const std::shared_ptr<AttachmentOperation>& operation,
                      const std::shared_ptr<IngestionState>& state);
    void releaseAttachmentOperation(const std::shared_ptr<AttachmentOperation>& operation);
    bool isCurrent(const std::shared_ptr<AttachmentOperation>& operation) const;
    void cancelAIAttachmentOperation();
    // No chat selected: no turns, and an empty draft, reply and usage.
    void showNoAIChat();
    void clearPendingAIAttachments();
    void deleteFilesInBackground(const QList<AIChatAttachment>& attachments);
    void finishRetry(const std::shared_ptr<AttachmentOperation>& operation, const AIChatTurn& turn,
                     const QList<AIChatAttachment>& copies);

    // plain setters that notify on change
    // Stores `value` and emits `changed` only when it differs from what `field` holds.
    template <typename T> void assign(T& field, const T& value, void (AppModel::*changed)());
    void setAiOutput(const QString& output);
    void setAiStatus(const QString& status);
    void setAiUsage(const std::optional<AIUsage>& usage);
    void setAiConversation(const QList<AIChatTurn>& turns);
    void setAiChats(const QList<AIChatSession>& chats);
    void setPendingAIAttachments(const QList<AIChatAttachment>& attachments);
    void setIsAddingAIAttachments(bool adding);
    void setSelectedAIChatID(const std::optional<QUuid>& id);
    void setIsGenerating(bool generating);

    // Wires the features' notifications to the properties above.
    void forwardSignals();

    AppModelDependencies m_deps; // first: every feature below borrows from it
    std::unique_ptr<ModuleRegistry> m_registry;

    bool m_credentialIsStored = false;
    QString m_aiInput;
    QString m_aiOutput;
    QString m_aiStatus;
    std::optional<AIUsage> m_aiUsage;
    QList<AIChatTurn> m_aiConversation;
    QList<AIChatSession> m_aiChats;
    QList<AIChatAttachment> m_pendingAIAttachments;
    bool m_isAddingAIAttachments = false;
    std::optional<QUuid> m_selectedAIChatID;
    bool m_isGenerating = false;
    std::optional<QString> m_presentedError;

    QTimer m_healthTimer;
    std::shared_ptr<SendTask> m_aiTask;
    std::shared_ptr<AttachmentOperation> m_aiAttachmentTask;
    std::optional<QUuid> m_aiAttachmentOperationID;
    std::optional<QUuid> m_currentRequestID;
    std::optional<QUuid> m_currentRequestChatID;
    QHash<QUuid, QImage> m_aiAttachmentImageCache;
    bool m_aiHistoryCanWrite = true;
    bool m_shouldReconcileAttachments = false;
    bool m_hasStarted = false;

    WindowRouter m_windows;
    CommandPalette m_palette;
    GlobalShortcuts m_shortcuts;
    NotchSurface m_notch;
    DesktopActions m_desktop;
};

} // namespace plimbo
