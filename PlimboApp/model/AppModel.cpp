#include "AppModel.h"

#include "AIAttachmentError.h"
#include "AIAttachmentFailureList.h"
#include "AIAttachmentPreparer.h"
#include "AIChatHistoryStore.h"
#include "AIResponseStream.h"
#include "AIStreamingClient.h"
#include "AppSurfaceFactory.h"
#include "AppWindowController.h"
#include "ApplicationRecord.h"
#include "ChatRequestBuilder.h"
#include "ClipboardService.h"
#include "Clock.h"
#include "FileChooser.h"
#include "FileShelf.h"
#include "GlobalHotKeyController.h"
#include "GlobalSurfaceFocusCoordinator.h"
#include "KeepAwakeService.h"
#include "KeychainService.h"
#include "LauncherService.h"
#include "MainThreadContinuation.h"
#include "MiniAssistantController.h"
#include "MiniCamera.h"
#include "ModuleRegistry.h"
#include "NotchController.h"
#include "NotchSwitches.h"
#include "OpenRouterError.h"
#include "Pasteboard.h"
#include "PermissionCenter.h"
#include "PlimboError.h"
#include "PropertyAssign.h"
#include "QuickPanelController.h"
#include "SystemActions.h"
#include "SystemMonitorService.h"
#include "TaskExecutor.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QPromise>
#include <QRegularExpression>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace plimbo {

namespace {

const QString kReady = QStringLiteral("Ready");
const QString kAttaching = QStringLiteral("Attaching…");
const QString kThinking = QStringLiteral("Thinking…");
const QString kWriting = QStringLiteral("Writing…");

const QString kMenuPreview = QStringLiteral("--show-menu-preview");
const QString kNotchPreview = QStringLiteral("--show-notch-preview");
const QString kAIChatPreview = QStringLiteral("--show-ai-chat-preview");
const QString kMiniAIPreview = QStringLiteral("--show-mini-ai-preview");
const QString kMiniAIChatPreview = QStringLiteral("--show-mini-ai-chat-preview");
const QString kLauncherPreview = QStringLiteral("--show-launcher-preview");
const QString kClipboardPreview = QStringLiteral("--show-clipboard-preview");
const QString kSettingsPreview = QStringLiteral("--show-settings-preview");
const QString kAbout = QStringLiteral("--show-about");

const QString kPreviewIconName = QStringLiteral("PlimboIcon.png");

// The text of a failure a future or a call delivered.
QString describe(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const PlimboError& plimboError) {
        return plimboError.description();
    } catch (const std::exception& other) {
        return QString::fromUtf8(other.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

QList<AIChatAttachment> attachmentsOf(const QList<AIChatTurn>& turns) {
    QList<AIChatAttachment> attachments;
    for (const AIChatTurn& turn : turns) {
        attachments += turn.attachments;
    }
    return attachments;
}

AIChatAttachment sampleAttachment(const QString& name, const QString& mimeType,
                                  AIChatAttachmentKind kind, qint64 byteCount,
                                  const QString& storageFileName) {
    return AIChatAttachment{QUuid::createUuid(), name, mimeType, kind, byteCount, storageFileName};
}

// What a retry's background copy produced.
struct RetryCopies {
    QList<AIChatAttachment> copies;
    QStringList missingNames;
};

} // namespace

// One chat request from sendAI() to its end. `cancelled` is set by stopAI(); everything the
// request still receives afterwards is dropped.
struct AppModel::SendTask {
    QUuid requestID;
    QUuid chatID;
    bool cancelled = false;
    bool endSignalled = false;
};

// An attachment ingestion or a retry's copying; superseded when the model's operation id
// moves on or it is cancelled.
struct AppModel::AttachmentOperation {
    QUuid id = QUuid::createUuid();
    bool cancelled = false;
};

struct AppModel::IngestionState {
    QList<QUrl> urls;
    qsizetype next = 0;
    AIAttachmentFailureList failures;
    bool added = false;
};

// ---------------------------------------------------------------- initialisation

AppModel::AppModel(AppModelDependencies dependencies, QObject* parent)
    : QObject(parent)
    , m_deps(std::move(dependencies))
    , m_registry(std::make_unique<ModuleRegistry>(*m_deps.settings))
    , m_aiStatus(kReady)
    , m_windows(m_deps.surfaces.get(), *m_deps.focusCoordinator)
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
    , m_desktop(*m_deps.systemActions, m_deps.fileChooser.get(), m_deps.miniCamera.get()) {
    forwardSignals();

    m_registry->registerModule(m_deps.launcher, true);
    m_registry->registerModule(m_deps.clipboard, true);
    m_registry->registerModule(m_deps.keepAwake, true);
    m_registry->registerModule(m_deps.systemMonitor, true);

    // Preview runs never touch the keyring (it may prompt).
    const bool previewRun = std::any_of(
        m_deps.arguments.cbegin(), m_deps.arguments.cend(),
        [](const QString& argument) { return argument.startsWith(QStringLiteral("--show-")); });
    if (!previewRun) {
        try {
            m_credentialIsStored =
                m_deps.keychain->read(KeychainService::openRouterAccount).has_value();
        } catch (...) {
            m_credentialIsStored = false;
        }
    }

    loadHistory();
    if (!m_aiChats.isEmpty()) {
        const AIChatSession& newest = m_aiChats.first();
        m_selectedAIChatID = newest.id;
        m_aiConversation = newest.turns;
        m_aiOutput = newest.turns.isEmpty() ? QString() : newest.turns.last().response;
    }
    m_palette.rebuild();

    m_healthTimer.setSingleShot(true);
    connect(&m_healthTimer, &QTimer::timeout, this, &AppModel::refreshHealth);
}

AppModel::~AppModel() {
    // The views go first: none of them may outlive the features it shows.
    m_windows.destroyControllers();
    m_healthTimer.stop();
    // Whatever the running request or ingestion still delivers must not reach this model.
    if (m_aiTask) {
        m_aiTask->cancelled = true;
    }
    if (m_aiAttachmentTask) {
        m_aiAttachmentTask->cancelled = true;
    }
}

void AppModel::forwardSignals() {
    connect(&m_windows, &WindowRouter::selectedSectionChanged, this,
            &AppModel::selectedSectionChanged);
    connect(&m_windows, &WindowRouter::selectedSettingsSectionChanged, this,
            &AppModel::selectedSettingsSectionChanged);
    connect(&m_palette, &CommandPalette::queryChanged, this, &AppModel::paletteQueryChanged);
    connect(&m_palette, &CommandPalette::resultsChanged, this, &AppModel::paletteResultsChanged);
    connect(&m_notch, &NotchSurface::surfaceEnabledChanged, this,
            &AppModel::notchSurfaceEnabledChanged);
    connect(&m_notch, &NotchSurface::virtualNotchEnabledChanged, this,
            &AppModel::virtualNotchEnabledChanged);
    connect(&m_desktop, &DesktopActions::shelfURLsChanged, this, &AppModel::pendingDropURLsChanged);
    connect(&m_shortcuts, &GlobalShortcuts::registeredShortcutsChanged, this,
            &AppModel::registeredGlobalShortcutsChanged);
    connect(&m_desktop, &DesktopActions::failed, this,
            [this](const QString& message) { setPresentedError(message); });
}

void AppModel::loadHistory() {
    QList<AIChatSession> loaded;
    try {
        loaded = m_deps.historyStore->load();
    } catch (...) {
        // The file stays out of the way (with its attachment folder), so nothing it refers to
        // is reconciled away in this run.
        try {
            const std::optional<QString> preserved =
                m_deps.historyStore->quarantineUnreadableHistory();
            m_presentedError =
                QStringLiteral(
                    "Chat history could not be read. The original file was preserved as ") +
                (preserved ? QFileInfo(*preserved).fileName() : QStringLiteral("a recovery file")) +
                QStringLiteral(".");
        } catch (...) {
            m_aiHistoryCanWrite = false;
            m_presentedError = QStringLiteral("Chat history could not be read and was left "
                                              "unchanged. Saving is disabled for this session.");
        }
        m_aiChats.clear();
        return;
    }

    bool changed = loaded.size() > maximumChats;
    for (AIChatSession& chat : loaded) {
        if (chat.turns.size() > maximumTurnsPerChat) {
            changed = true;
        }
        for (AIChatTurn& turn : chat.turns) {
            // The application quit while this reply streamed.
            if (turn.state == AIChatTurnState::streaming) {
                turn.state = AIChatTurnState::stopped;
                changed = true;
            }
        }
    }
    // Files of dropped turns and chats are left to the start-up's clean-up.
    applyHistoryLimits(loaded);
    m_aiChats = loaded;
    if (changed) {
        try {
            m_deps.historyStore->save(m_aiChats);
        } catch (...) {
            // The next save writes the trimmed list again.
        }
    }
    m_shouldReconcileAttachments = true;
}

bool AppModel::hasArgument(const QString& argument) const {
    return m_deps.arguments.contains(argument);
}

// ---------------------------------------------------------------- observable setters

template <typename T> void AppModel::assign(T& field, const T& value, void (AppModel::*changed)()) {
    plimbo::assign(this, field, value, changed);
}

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
    assign(m_aiInput, input, &AppModel::aiInputChanged);
}

void AppModel::setAiOutput(const QString& output) {
    assign(m_aiOutput, output, &AppModel::aiOutputChanged);
}

void AppModel::setAiStatus(const QString& status) {
    assign(m_aiStatus, status, &AppModel::aiStatusChanged);
}

void AppModel::setAiUsage(const std::optional<AIUsage>& usage) {
    assign(m_aiUsage, usage, &AppModel::aiUsageChanged);
}

void AppModel::setAiConversation(const QList<AIChatTurn>& turns) {
    assign(m_aiConversation, turns, &AppModel::aiConversationChanged);
}

void AppModel::setAiChats(const QList<AIChatSession>& chats) {
    assign(m_aiChats, chats, &AppModel::aiChatsChanged);
}

void AppModel::setPendingAIAttachments(const QList<AIChatAttachment>& attachments) {
    assign(m_pendingAIAttachments, attachments, &AppModel::pendingAIAttachmentsChanged);
}

void AppModel::setIsAddingAIAttachments(bool adding) {
    assign(m_isAddingAIAttachments, adding, &AppModel::isAddingAIAttachmentsChanged);
}

void AppModel::setSelectedAIChatID(const std::optional<QUuid>& id) {
    assign(m_selectedAIChatID, id, &AppModel::selectedAIChatIDChanged);
}

void AppModel::setIsGenerating(bool generating) {
    assign(m_isGenerating, generating, &AppModel::isGeneratingChanged);
}

void AppModel::setPresentedError(const std::optional<QString>& error) {
    assign(m_presentedError, error, &AppModel::presentedErrorChanged);
}

void AppModel::setPendingDropURLs(const QList<QUrl>& urls) {
    m_desktop.setShelfURLs(urls);
}

// ---------------------------------------------------------------- start-up

QFuture<void> AppModel::start() {
    if (m_hasStarted) {
        return QtFuture::makeReadyFuture();
    }
    m_hasStarted = true;

    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    QFuture<void> started = promise->future();
    auto proceed = [this, promise] {
        continueStart();
        promise->finish();
    };
    if (!m_shouldReconcileAttachments) {
        proceed();
        return started;
    }
    // Only after a clean load: files that no stored turn refers to go before anything else
    // can add new ones.
    const QSet<QString> referenced = referencedAttachmentFileNames(m_aiChats, {});
    const std::shared_ptr<AIChatHistoryStore> store = m_deps.historyStore;
    const QFuture<void> cleanup =
        runInBackground(*m_deps.executor, TaskExecutor::Priority::utility, [store, referenced] {
            try {
                store->reconcileAttachments(referenced);
            } catch (...) {
                // A folder that cannot be cleaned now is cleaned at a later start.
            }
        });
    whenFinished(cleanup, this, [proceed](const QFuture<void>&) { proceed(); });
    return started;
}

void AppModel::continueStart() {
    preloadAttachmentImages(attachmentsOf(m_aiConversation));

    if (hasArgument(kMiniAIPreview) || hasArgument(kMiniAIChatPreview)) {
        m_windows.createMiniAssistant(*this);
        if (hasArgument(kMiniAIChatPreview)) {
            seedMiniAIChatPreview();
        }
        m_windows.showMiniAssistant();
        startModules();
        return;
    }

    m_windows.createControllers(*this);
    m_shortcuts.install();
    startModules();
    actOnPreviewSwitches();
    refreshHealth();
}

void AppModel::startModules() {
    // The registry skips a module switched off while the ones before it were starting.
    whenFinished(m_registry->startEnabledModules(), this,
                 [this](const QFuture<void>&) { m_palette.rebuild(); });
}

void AppModel::actOnPreviewSwitches() {
    if (hasArgument(kMenuPreview)) {
        m_windows.createMenuPreview(*this);
        m_windows.showMenuPreview();
    } else if (hasArgument(kNotchPreview)) {
        QList<QUrl> shelf;
        if (!m_deps.applicationPath.isEmpty()) {
            shelf.append(QUrl::fromLocalFile(m_deps.applicationPath));
        }
        if (m_deps.resourceDirectory) {
            shelf.append(
                QUrl::fromLocalFile(QDir(*m_deps.resourceDirectory).filePath(kPreviewIconName)));
        }
        setPendingDropURLs(shelf);
        if (m_windows.notch()) {
            m_windows.notch()->show(true);
        }
    } else if (hasArgument(kAIChatPreview)) {
        seedAIChatPreview();
        showDashboard(AppSection::ai);
    } else if (hasArgument(kLauncherPreview)) {
        QTimer::singleShot(0, this, &AppModel::showLauncher);
    } else if (hasArgument(kClipboardPreview)) {
        QTimer::singleShot(0, this, &AppModel::showClipboard);
    } else if (hasArgument(kSettingsPreview)) {
        openSettings(SettingsSection::general);
    } else if (hasArgument(kAbout)) {
        showAbout();
    } else {
        m_notch.presentOrHide();
    }
}

void AppModel::seedAIChatPreview() {
    // Sample chats stand in for the real ones in memory only: nothing of this run may be
    // written over the user's history file.
    m_aiHistoryCanWrite = false;

    const QDateTime now = m_deps.clock->now();
    const AIChatAttachment image =
        sampleAttachment(QStringLiteral("plimbo-reference.png"), QStringLiteral("image/png"),
                         AIChatAttachmentKind::image, 418000, QStringLiteral("preview-only.png"));
    const AIChatAttachment pdf =
        sampleAttachment(QStringLiteral("afternoon-plan.pdf"), QStringLiteral("application/pdf"),
                         AIChatAttachmentKind::pdf, 248000, QStringLiteral("preview-only.pdf"));
    const AIChatAttachment notes =
        sampleAttachment(QStringLiteral("notes.md"), QStringLiteral("text/markdown"),
                         AIChatAttachmentKind::text, 1240, QStringLiteral("preview-only.md"));

    const QDateTime planTime = now.addSecs(-1800);
    const AIChatTurn planTurn(
        QUuid::createUuid(), QStringLiteral("Summarize this plan and tell me what to do first."),
        QStringLiteral("Start with the **single most meaningful task**.\n\n1. Focus for 45 "
                       "minutes.\n2. Take a short break.\n3. Review what changed."),
        planTime, AIChatTurnState::completed, {image, pdf});
    const AIChatSession plan{QUuid::createUuid(),
                             QStringLiteral("Focused afternoon plan"),
                             {planTurn},
                             planTime,
                             planTime};

    const QDateTime warmTime = now.addSecs(-86400);
    const AIChatTurn warmTurn(QUuid::createUuid(),
                              QStringLiteral("Make this message sound warmer."),
                              QStringLiteral("Of course — paste the message here and I’ll keep "
                                             "the meaning while making the tone more welcoming."),
                              warmTime, AIChatTurnState::completed, {});
    const AIChatSession warm{
        QUuid::createUuid(), QStringLiteral("Warm up a message"), {warmTurn}, warmTime, warmTime};

    setAiChats({plan, warm});
    if (m_deps.resourceDirectory) {
        const QImage icon(QDir(*m_deps.resourceDirectory).filePath(kPreviewIconName));
        if (!icon.isNull()) {
            m_aiAttachmentImageCache.insert(image.id, icon);
        }
    }
    setSelectedAIChatID(plan.id);
    setAiConversation(plan.turns);
    setAiOutput(planTurn.response);
    setPendingAIAttachments({notes});
    setAiStatus(kReady);
}

void AppModel::seedMiniAIChatPreview() {
    // The sample turn would otherwise be saved into the selected real chat by the next send.
    m_aiHistoryCanWrite = false;

    const AIChatAttachment image =
        sampleAttachment(QStringLiteral("reference.png"), QStringLiteral("image/png"),
                         AIChatAttachmentKind::image, 84000, QStringLiteral("preview-only.png"));
    const AIChatAttachment followUp =
        sampleAttachment(QStringLiteral("follow-up.pdf"), QStringLiteral("application/pdf"),
                         AIChatAttachmentKind::pdf, 126000, QStringLiteral("preview-only.pdf"));
    const AIChatTurn turn(
        QUuid::createUuid(), QStringLiteral("What should I notice in this image?"),
        QStringLiteral("Look first at the **main subject**, then compare the smaller details "
                       "around it."),
        m_deps.clock->now(), AIChatTurnState::completed, {image});
    setAiConversation({turn});
    setPendingAIAttachments({followUp});
}

void AppModel::retryGlobalShortcuts() {
    m_shortcuts.retry();
}

void AppModel::refreshHealth() {
    whenFinished(m_registry->refreshHealth(), this,
                 [this](const QFuture<void>&) { m_healthTimer.start(m_deps.healthInterval); });
}

QFuture<void> AppModel::preloadAttachmentImages(const QList<AIChatAttachment>& attachments) {
    QList<AIChatAttachment> wanted;
    for (const AIChatAttachment& attachment : attachments) {
        if (attachment.kind == AIChatAttachmentKind::image &&
            !m_aiAttachmentImageCache.contains(attachment.id)) {
            wanted.append(attachment);
        }
    }
    if (wanted.isEmpty()) {
        return QtFuture::makeReadyFuture();
    }
    using Decoded = QList<QPair<QUuid, QImage>>;
    const std::shared_ptr<AIChatHistoryStore> store = m_deps.historyStore;
    const QFuture<Decoded> decoding =
        runInBackground(*m_deps.executor, TaskExecutor::Priority::utility, [store, wanted] {
            Decoded decoded;
            for (const AIChatAttachment& attachment : wanted) {
                try {
                    QImage image;
                    if (image.loadFromData(store->data(attachment))) {
                        decoded.append({attachment.id, image});
                    }
                } catch (...) {
                    // A file that is gone simply has no thumbnail.
                }
            }
            return decoded;
        });
    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    whenFinished(decoding, this, [this, promise](const QFuture<Decoded>& done) {
        try {
            if (const std::optional<Decoded> decoded = resultOf(done)) {
                for (const auto& [id, image] : *decoded) {
                    m_aiAttachmentImageCache.insert(id, image);
                }
            }
        } catch (...) {
        }
        promise->finish();
    });
    return promise->future();
}

// ---------------------------------------------------------------- windows

void AppModel::showDashboard(AppSection section) {
    m_windows.showDashboard(section);
}

void AppModel::openSettings(SettingsSection section) {
    m_windows.openSettings(section);
}

void AppModel::showAbout() {
    m_windows.showAbout();
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

void AppModel::showMiniAI() {
    newAIChat();
    m_windows.showMiniAssistant();
}

// ---------------------------------------------------------------- send pipeline

void AppModel::sendAI() {
    if (m_isAddingAIAttachments) {
        setPresentedError(QStringLiteral("Wait for the attachment to finish loading."));
        return;
    }
    QString prompt = m_aiInput.trimmed();
    if (prompt.isEmpty()) {
        if (m_pendingAIAttachments.isEmpty()) {
            setPresentedError(QStringLiteral("Add a message or attachment for the assistant."));
            return;
        }
        prompt = defaultPrompt(m_pendingAIAttachments);
    }
    if (m_isGenerating) {
        stopAI();
    }
    ensureSelectedAIChat(prompt);

    auto task = std::make_shared<SendTask>();
    task->requestID = QUuid::createUuid();
    task->chatID = *m_selectedAIChatID;
    m_currentRequestID = task->requestID;
    m_currentRequestChatID = task->chatID;

    const QList<AIChatTurn> priorTurns = m_aiConversation.mid(
        std::max<qsizetype>(0, m_aiConversation.size() - priorTurnsPerRequest));
    const AIChatTurn turn(task->requestID, prompt, QString(), m_deps.clock->now(),
                          AIChatTurnState::streaming, m_pendingAIAttachments);
    setAiConversation(m_aiConversation + QList<AIChatTurn>{turn});

    // Their files belong to the turn now.
    setPendingAIAttachments({});
    resizeMiniAIPanel();
    syncSelectedAIChat(true);

    setAiInput(QString());
    setAiOutput(QString());
    setAiUsage(std::nullopt);
    setAiStatus(kThinking);
    setIsGenerating(true);

    m_aiTask = task;
    runSendTask(task, priorTurns, turn);
}

void AppModel::runSendTask(const std::shared_ptr<SendTask>& task,
                           const QList<AIChatTurn>& priorTurns, const AIChatTurn& turn) {
    const std::shared_ptr<AIChatHistoryStore> store = m_deps.historyStore;
    const QFuture<QList<AIMessage>> building = runInBackground(
        *m_deps.executor, TaskExecutor::Priority::userInitiated, [store, priorTurns, turn] {
            return ChatRequestBuilder::requestMessages(priorTurns, turn, *store);
        });
    whenFinished(building, this, [this, task](const QFuture<QList<AIMessage>>& done) {
        // Stopped while the messages were being built: nothing may be sent.
        if (task->cancelled) {
            finishAIRequest(task->requestID, task->chatID, AIChatTurnState::stopped, std::nullopt);
            return;
        }
        std::optional<QList<AIMessage>> messages;
        try {
            messages = resultOf(done);
        } catch (...) {
            finishAIRequest(task->requestID, task->chatID, AIChatTurnState::failed,
                            describe(std::current_exception()));
            return;
        }
        if (!messages) {
            finishAIRequest(task->requestID, task->chatID, AIChatTurnState::stopped, std::nullopt);
            return;
        }
        sendWithMessages(task, *messages);
    });
}

void AppModel::sendWithMessages(const std::shared_ptr<SendTask>& task,
                                const QList<AIMessage>& messages) {
    // Read afresh for every request; the keyring may block, so not on the main thread.
    const std::shared_ptr<KeychainService> keychain = m_deps.keychain;
    const QFuture<std::optional<QString>> reading =
        runInBackground(*m_deps.executor, TaskExecutor::Priority::userInitiated,
                        [keychain] { return keychain->read(KeychainService::openRouterAccount); });
    whenFinished(reading, this,
                 [this, task, messages](const QFuture<std::optional<QString>>& done) {
                     // Stopped while the key was read: nothing may be sent.
                     if (task->cancelled) {
                         finishAIRequest(task->requestID, task->chatID, AIChatTurnState::stopped,
                                         std::nullopt);
                         return;
                     }
                     std::optional<std::optional<QString>> key;
                     try {
                         key = resultOf(done);
                     } catch (...) {
                         finishAIRequest(task->requestID, task->chatID, AIChatTurnState::failed,
                                         describe(std::current_exception()));
                         return;
                     }
                     if (!key) {
                         finishAIRequest(task->requestID, task->chatID, AIChatTurnState::stopped,
                                         std::nullopt);
                         return;
                     }
                     if (!*key) {
                         finishAIRequest(task->requestID, task->chatID, AIChatTurnState::failed,
                                         OpenRouterError::missingCredential().description());
                         return;
                     }
                     streamRequest(task, messages, **key);
                 });
}

void AppModel::streamRequest(const std::shared_ptr<SendTask>& task,
                             const QList<AIMessage>& messages, const QString& apiKey) {
    const AIRequest request{task->requestID, requestModel, messages, requestTemperature,
                            std::nullopt};
    AIResponseStream* stream = nullptr;
    try {
        stream = m_deps.aiClient->stream(request, apiKey);
    } catch (...) {
        finishAIRequest(task->requestID, task->chatID, AIChatTurnState::failed,
                        describe(std::current_exception()));
        return;
    }
    connect(stream, &AIResponseStream::eventReceived, this,
            [this, task](const AIStreamEvent& event) {
                // A stopped or replaced request changes nothing any more.
                if (task->cancelled) {
                    return;
                }
                switch (event.kind) {
                case AIStreamEvent::Kind::text:
                    appendAIResponse(event.text, task->requestID, task->chatID);
                    break;
                case AIStreamEvent::Kind::usage:
                    if (m_currentRequestID == task->requestID) {
                        setAiUsage(event.usage);
                    }
                    break;
                case AIStreamEvent::Kind::finished:
                    task->endSignalled = true;
                    break;
                case AIStreamEvent::Kind::metadata:
                    break;
                }
            });
    connect(stream, &AIResponseStream::finished, this, [this, task] {
        if (task->cancelled) {
            finishAIRequest(task->requestID, task->chatID, AIChatTurnState::stopped, std::nullopt);
        } else if (task->endSignalled || !response(task->requestID, task->chatID).isEmpty()) {
            finishAIRequest(task->requestID, task->chatID, AIChatTurnState::completed,
                            std::nullopt);
        } else {
            finishAIRequest(task->requestID, task->chatID, AIChatTurnState::failed,
                            QStringLiteral("No text was returned."));
        }
    });
    connect(stream, &AIResponseStream::failed, this, [this, task](const OpenRouterError& error) {
        if (task->cancelled || error.kind() == OpenRouterError::Kind::cancelled) {
            finishAIRequest(task->requestID, task->chatID, AIChatTurnState::stopped, std::nullopt);
        } else {
            finishAIRequest(task->requestID, task->chatID, AIChatTurnState::failed,
                            error.description());
        }
    });
}

void AppModel::stopAI() {
    if (!m_currentRequestID || !m_currentRequestChatID) {
        return;
    }
    const QUuid requestID = *m_currentRequestID;
    const QUuid chatID = *m_currentRequestChatID;
    if (m_aiTask) {
        m_aiTask->cancelled = true;
    }
    // The client's clean-up runs later, so that it never delays the views. The queued call
    // must not own the client: a QObject destroyed along with a posted event at shutdown
    // would deadlock on the event queue.
    const std::weak_ptr<AIStreamingClient> client = m_deps.aiClient;
    QMetaObject::invokeMethod(
        qApp,
        [client, requestID] {
            if (const std::shared_ptr<AIStreamingClient> live = client.lock()) {
                live->cancel(requestID);
            }
        },
        Qt::QueuedConnection);
    finishAIRequest(requestID, chatID, AIChatTurnState::stopped, std::nullopt);
}

qsizetype AppModel::indexOfChat(const QUuid& id) const {
    for (qsizetype i = 0; i < m_aiChats.size(); ++i) {
        if (m_aiChats[i].id == id) {
            return i;
        }
    }
    return -1;
}

void AppModel::ensureSelectedAIChat(const QString& prompt) {
    if (m_selectedAIChatID && indexOfChat(*m_selectedAIChatID) >= 0) {
        return;
    }
    const QDateTime now = m_deps.clock->now();
    const AIChatSession chat{QUuid::createUuid(), chatTitle(prompt), {}, now, now};
    QList<AIChatSession> chats = m_aiChats;
    chats.prepend(chat);
    const QList<AIChatAttachment> dropped = applyHistoryLimits(chats);
    setAiChats(chats);
    removeStoredAttachments(dropped);
    setSelectedAIChatID(chat.id);
}

void AppModel::syncSelectedAIChat(bool persist) {
    if (!m_selectedAIChatID) {
        return;
    }
    const qsizetype index = indexOfChat(*m_selectedAIChatID);
    if (index < 0) {
        return;
    }
    QList<AIChatSession> chats = m_aiChats;
    chats[index].turns = m_aiConversation;
    chats[index].updatedAt = m_deps.clock->now();
    const QList<AIChatAttachment> dropped = applyHistoryLimits(chats);
    setAiChats(chats);
    removeStoredAttachments(dropped);

    const qsizetype kept = indexOfChat(*m_selectedAIChatID);
    setAiConversation(kept >= 0 ? m_aiChats[kept].turns : QList<AIChatTurn>{});
    if (persist) {
        persistAIChats();
    }
}

void AppModel::appendAIResponse(const QString& text, const QUuid& requestID, const QUuid& chatID) {
    // Only the request in flight writes: a finished turn (stopped, failed, replaced) never
    // grows again nor goes back to streaming.
    if (m_currentRequestID != requestID) {
        return;
    }
    const qsizetype chatIndex = indexOfChat(chatID);
    if (chatIndex < 0) {
        return;
    }
    QList<AIChatSession> chats = m_aiChats;
    AIChatSession& chat = chats[chatIndex];
    auto turn =
        std::find_if(chat.turns.begin(), chat.turns.end(),
                     [&](const AIChatTurn& candidate) { return candidate.id == requestID; });
    if (turn == chat.turns.end()) {
        return;
    }
    turn->response += text;
    turn->state = AIChatTurnState::streaming;
    chat.updatedAt = m_deps.clock->now();
    const QString responseSoFar = turn->response;
    const QList<AIChatTurn> turns = chat.turns;
    setAiChats(chats);

    if (m_selectedAIChatID == chatID) {
        setAiConversation(turns);
        setAiOutput(responseSoFar);
    }
    setAiStatus(kWriting);
}

QString AppModel::response(const QUuid& requestID, const QUuid& chatID) const {
    const qsizetype chatIndex = indexOfChat(chatID);
    if (chatIndex < 0) {
        return QString();
    }
    for (const AIChatTurn& turn : m_aiChats[chatIndex].turns) {
        if (turn.id == requestID) {
            return turn.response;
        }
    }
    return QString();
}

void AppModel::finishAIRequest(const QUuid& requestID, const QUuid& chatID, AIChatTurnState state,
                               const std::optional<QString>& failureMessage) {
    // Only the current request ends here; a stopped or superseded one has already ended.
    if (m_currentRequestID != requestID) {
        return;
    }
    const qsizetype chatIndex = indexOfChat(chatID);
    if (chatIndex >= 0) {
        QList<AIChatSession> chats = m_aiChats;
        AIChatSession& chat = chats[chatIndex];
        auto turn = std::find_if(chat.turns.begin(), chat.turns.end(),
                                 [&](const AIChatTurn& c) { return c.id == requestID; });
        if (turn != chat.turns.end()) {
            turn->state = state;
            turn->failureMessage = failureMessage;
            chat.updatedAt = m_deps.clock->now();
            const QList<AIChatAttachment> dropped = applyHistoryLimits(chats);
            setAiChats(chats);
            removeStoredAttachments(dropped);
            if (m_selectedAIChatID == chatID) {
                const qsizetype kept = indexOfChat(chatID);
                const QList<AIChatTurn> turns =
                    kept >= 0 ? m_aiChats[kept].turns : QList<AIChatTurn>{};
                setAiConversation(turns);
                QString output;
                for (const AIChatTurn& candidate : turns) {
                    if (candidate.id == requestID) {
                        output = candidate.response;
                    }
                }
                setAiOutput(output);
            }
            persistAIChats();
        }
    }

    const bool hasText = !response(requestID, chatID).isEmpty();
    m_currentRequestID.reset();
    m_currentRequestChatID.reset();
    m_aiTask.reset();
    setIsGenerating(false);

    switch (state) {
    case AIChatTurnState::completed:
        setAiStatus(hasText ? QStringLiteral("Done") : QStringLiteral("No text returned"));
        break;
    case AIChatTurnState::stopped:
        setAiStatus(QStringLiteral("Stopped"));
        break;
    case AIChatTurnState::failed:
        setAiStatus(QStringLiteral("Failed"));
        if (failureMessage) {
            setPresentedError(failureMessage);
        }
        break;
    case AIChatTurnState::streaming:
        break;
    }
}

void AppModel::persistAIChats() {
    if (!m_aiHistoryCanWrite) {
        return;
    }
    try {
        m_deps.historyStore->save(m_aiChats);
    } catch (...) {
        setPresentedError(QStringLiteral("Chat history could not be saved. ") +
                          describe(std::current_exception()));
    }
}

void AppModel::removeStoredAttachments(const QList<AIChatAttachment>& attachments) {
    if (attachments.isEmpty()) {
        return;
    }
    for (const AIChatAttachment& attachment : attachments) {
        m_aiAttachmentImageCache.remove(attachment.id);
    }
    deleteFilesInBackground(attachments);
}

void AppModel::deleteFilesInBackground(const QList<AIChatAttachment>& attachments) {
    if (attachments.isEmpty()) {
        return;
    }
    const std::shared_ptr<AIChatHistoryStore> store = m_deps.historyStore;
    runInBackground(*m_deps.executor, TaskExecutor::Priority::utility, [store, attachments] {
        for (const AIChatAttachment& attachment : attachments) {
            try {
                store->removeAttachment(attachment);
            } catch (...) {
                // Left for the next start-up's clean-up.
            }
        }
    });
}

void AppModel::resizeMiniAIPanel() {
    m_windows.fitMiniAssistant(!m_aiConversation.isEmpty());
}

// ---------------------------------------------------------------- chat list

void AppModel::newAIChat() {
    stopAI();
    cancelAIAttachmentOperation();
    clearPendingAIAttachments();
    showNoAIChat();
}

void AppModel::showNoAIChat() {
    setSelectedAIChatID(std::nullopt);
    setAiConversation({});
    setAiInput(QString());
    setAiOutput(QString());
    setAiUsage(std::nullopt);
    setAiStatus(kReady);
}

void AppModel::selectAIChat(const QUuid& id) {
    if (m_selectedAIChatID == id || indexOfChat(id) < 0) {
        return;
    }
    stopAI();
    cancelAIAttachmentOperation();
    clearPendingAIAttachments();
    const qsizetype index = indexOfChat(id);
    if (index < 0) {
        return;
    }
    const AIChatSession chat = m_aiChats[index];
    setSelectedAIChatID(id);
    setAiConversation(chat.turns);
    setAiInput(QString());
    setAiOutput(chat.turns.isEmpty() ? QString() : chat.turns.last().response);
    setAiUsage(std::nullopt);
    setAiStatus(kReady);
    preloadAttachmentImages(attachmentsOf(chat.turns));
}

void AppModel::renameAIChat(const QUuid& id, const QString& title) {
    const QString trimmed = title.trimmed();
    const qsizetype index = indexOfChat(id);
    if (trimmed.isEmpty() || index < 0) {
        return;
    }
    QList<AIChatSession> chats = m_aiChats;
    chats[index].title = trimmed;
    setAiChats(chats);
    persistAIChats();
}

void AppModel::deleteAIChat(const QUuid& id) {
    QList<AIChatAttachment> attachments;
    for (const AIChatSession& chat : std::as_const(m_aiChats)) {
        if (chat.id == id) {
            attachments += attachmentsOf(chat.turns);
        }
    }
    if (m_selectedAIChatID == id) {
        stopAI();
        cancelAIAttachmentOperation();
        showNoAIChat();
    }
    QList<AIChatSession> chats = m_aiChats;
    chats.removeIf([&](const AIChatSession& chat) { return chat.id == id; });
    setAiChats(chats);
    removeStoredAttachments(attachments);
    persistAIChats();
    if (!m_selectedAIChatID && !m_aiChats.isEmpty()) {
        selectAIChat(m_aiChats.first().id);
    }
}

void AppModel::copyAIMessage(const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    if (m_deps.pasteboard) {
        m_deps.pasteboard->writeText(text);
    }
    setAiStatus(QStringLiteral("Copied"));
}

void AppModel::retryAIChatTurn(const AIChatTurn& turn) {
    if (m_isGenerating || m_isAddingAIAttachments) {
        return;
    }
    clearPendingAIAttachments();
    auto operation = std::make_shared<AttachmentOperation>();
    m_aiAttachmentOperationID = operation->id;
    m_aiAttachmentTask = operation;
    setIsAddingAIAttachments(true);
    setAiStatus(kAttaching);

    const std::shared_ptr<AIChatHistoryStore> store = m_deps.historyStore;
    const QList<AIChatAttachment> originals = turn.attachments;
    const QFuture<RetryCopies> copying = runInBackground(
        *m_deps.executor, TaskExecutor::Priority::userInitiated, [store, originals] {
            RetryCopies result;
            for (const AIChatAttachment& original : originals) {
                try {
                    result.copies.append(store->saveAttachment(store->data(original), original.name,
                                                               original.mimeType, original.kind));
                } catch (...) {
                    result.missingNames.append(original.name);
                }
            }
            if (!result.missingNames.isEmpty()) {
                // All or nothing: no copy stays behind when the retry cannot go ahead.
                for (const AIChatAttachment& copy : std::as_const(result.copies)) {
                    try {
                        store->removeAttachment(copy);
                    } catch (...) {
                    }
                }
                result.copies.clear();
            }
            return result;
        });
    whenFinished(copying, this, [this, operation, turn](const QFuture<RetryCopies>& done) {
        std::optional<RetryCopies> copied;
        try {
            copied = resultOf(done);
        } catch (...) {
        }
        if (!copied) {
            releaseAttachmentOperation(operation);
            return;
        }
        if (!isCurrent(operation)) {
            deleteFilesInBackground(copied->copies);
            return;
        }
        if (!copied->missingNames.isEmpty()) {
            releaseAttachmentOperation(operation);
            setPresentedError(
                QStringLiteral(
                    "Retry stopped because these attachments are no longer available: ") +
                copied->missingNames.join(QStringLiteral(", ")) + QStringLiteral("."));
            return;
        }
        const QList<AIChatAttachment> copies = copied->copies;
        setPendingAIAttachments(copies);
        resizeMiniAIPanel();
        whenFinished(preloadAttachmentImages(copies), this,
                     [this, operation, turn, copies](const QFuture<void>&) {
                         finishRetry(operation, turn, copies);
                     });
    });
}

void AppModel::finishRetry(const std::shared_ptr<AttachmentOperation>& operation,
                           const AIChatTurn& turn, const QList<AIChatAttachment>& copies) {
    if (!isCurrent(operation)) {
        // Superseded after the copies went pending: take back those still listed along with
        // their files, or the composer would offer attachments whose files are gone.
        QList<AIChatAttachment> remaining = m_pendingAIAttachments;
        const qsizetype before = remaining.size();
        remaining.removeIf([&](const AIChatAttachment& pending) {
            return std::any_of(copies.cbegin(), copies.cend(),
                               [&](const AIChatAttachment& copy) { return copy.id == pending.id; });
        });
        if (remaining.size() != before) {
            setPendingAIAttachments(remaining);
            resizeMiniAIPanel();
        }
        removeStoredAttachments(copies);
        return;
    }
    releaseAttachmentOperation(operation);
    setAiInput(turn.prompt);
    sendAI();
}

// ---------------------------------------------------------------- attachments

bool AppModel::isCurrent(const std::shared_ptr<AttachmentOperation>& operation) const {
    return !operation->cancelled && m_aiAttachmentOperationID == operation->id;
}

void AppModel::releaseAttachmentOperation(const std::shared_ptr<AttachmentOperation>& operation) {
    if (m_aiAttachmentOperationID != operation->id) {
        return; // a newer operation owns the state now
    }
    m_aiAttachmentOperationID.reset();
    m_aiAttachmentTask.reset();
    setIsAddingAIAttachments(false);
    if (m_aiStatus == kAttaching) {
        setAiStatus(kReady);
    }
}

void AppModel::cancelAIAttachmentOperation() {
    m_aiAttachmentOperationID.reset();
    if (m_aiAttachmentTask) {
        m_aiAttachmentTask->cancelled = true;
        m_aiAttachmentTask.reset();
    }
    setIsAddingAIAttachments(false);
    if (m_aiStatus == kAttaching) {
        setAiStatus(kReady);
    }
}

void AppModel::clearPendingAIAttachments() {
    removeStoredAttachments(m_pendingAIAttachments);
    setPendingAIAttachments({});
    resizeMiniAIPanel();
}

void AppModel::chooseAIAttachments() {
    if (m_isGenerating || m_isAddingAIAttachments || !m_deps.fileChooser) {
        return;
    }
    // The dialog would count as an outside click and close the mini assistant.
    MiniAssistantController* mini = m_windows.miniAssistant();
    const bool paused = mini && mini->isVisible();
    if (paused) {
        mini->stopOutsideClickMonitoring();
    }
    QPointer<AppModel> self(this);
    m_deps.fileChooser->chooseFiles(FileChooser::Options{QStringLiteral("Attach to Plimbo AI"),
                                                         QStringLiteral("Attach"), false, true},
                                    [self, paused](const QList<QUrl>& urls) {
                                        if (!self) {
                                            return;
                                        }
                                        MiniAssistantController* mini =
                                            self->m_windows.miniAssistant();
                                        if (paused && mini && mini->isVisible()) {
                                            mini->stopOutsideClickMonitoring();
                                            mini->startOutsideClickMonitoring();
                                        }
                                        if (!urls.isEmpty()) {
                                            self->addAIAttachments(urls);
                                        }
                                    });
}

bool AppModel::addAIAttachments(const QList<QUrl>& fileURLs) {
    if (m_isGenerating || m_isAddingAIAttachments || fileURLs.isEmpty()) {
        return false;
    }
    auto operation = std::make_shared<AttachmentOperation>();
    m_aiAttachmentOperationID = operation->id;
    m_aiAttachmentTask = operation;
    setIsAddingAIAttachments(true);
    setAiStatus(kAttaching);

    auto state = std::make_shared<IngestionState>();
    state->urls = fileURLs;
    ingestNext(operation, state);
    return true;
}

void AppModel::ingestNext(const std::shared_ptr<AttachmentOperation>& operation,
                          const std::shared_ptr<IngestionState>& state) {
    if (!isCurrent(operation)) {
        releaseAttachmentOperation(operation);
        return;
    }
    if (state->next >= state->urls.size()) {
        endIngestion(operation, state);
        return;
    }
    if (AIAttachmentPreparer::isPendingListFull(m_pendingAIAttachments)) {
        state->failures.addFileLimitReached();
        endIngestion(operation, state);
        return;
    }
    const QUrl url = state->urls[state->next++];
    const QFuture<PreparedAIAttachment> preparing =
        runInBackground(*m_deps.executor, TaskExecutor::Priority::userInitiated,
                        [url] { return AIAttachmentPreparer::prepare(url); });
    whenFinished(
        preparing, this, [this, operation, state, url](const QFuture<PreparedAIAttachment>& done) {
            std::optional<PreparedAIAttachment> prepared;
            try {
                prepared = resultOf(done);
            } catch (...) {
                state->failures.add(url, std::current_exception());
                ingestNext(operation, state);
                return;
            }
            if (!prepared || !isCurrent(operation)) {
                releaseAttachmentOperation(operation);
                return;
            }
            if (!AIAttachmentPreparer::fitsMessageTotal(m_pendingAIAttachments,
                                                        prepared->data.size())) {
                state->failures.add(url, AIAttachmentError(AIAttachmentError::Kind::totalTooLarge));
                ingestNext(operation, state);
                return;
            }
            const std::shared_ptr<AIChatHistoryStore> store = m_deps.historyStore;
            const PreparedAIAttachment file = *prepared;
            const QFuture<AIChatAttachment> saving = runInBackground(
                *m_deps.executor, TaskExecutor::Priority::userInitiated, [store, file] {
                    return store->saveAttachment(file.data, file.fileName, file.mimeType,
                                                 file.kind);
                });
            whenFinished(saving, this,
                         [this, operation, state, url,
                          image = file.image](const QFuture<AIChatAttachment>& saved) {
                             std::optional<AIChatAttachment> attachment;
                             try {
                                 attachment = resultOf(saved);
                             } catch (...) {
                                 state->failures.add(url, std::current_exception());
                                 ingestNext(operation, state);
                                 return;
                             }
                             if (!attachment) {
                                 releaseAttachmentOperation(operation);
                                 return;
                             }
                             if (!isCurrent(operation)) {
                                 // Saved after the ingestion was abandoned: nobody lists it.
                                 deleteFilesInBackground({*attachment});
                                 releaseAttachmentOperation(operation);
                                 return;
                             }
                             setPendingAIAttachments(m_pendingAIAttachments +
                                                     QList<AIChatAttachment>{*attachment});
                             if (image) {
                                 m_aiAttachmentImageCache.insert(attachment->id, *image);
                             }
                             state->added = true;
                             ingestNext(operation, state);
                         });
        });
}

void AppModel::endIngestion(const std::shared_ptr<AttachmentOperation>& operation,
                            const std::shared_ptr<IngestionState>& state) {
    if (!state->failures.isEmpty()) {
        setPresentedError(state->failures.message());
    }
    if (state->added) {
        setAiStatus(kReady);
        resizeMiniAIPanel();
    }
    releaseAttachmentOperation(operation);
}

void AppModel::removePendingAIAttachment(const QUuid& id) {
    QList<AIChatAttachment> pending = m_pendingAIAttachments;
    auto found =
        std::find_if(pending.begin(), pending.end(),
                     [&](const AIChatAttachment& attachment) { return attachment.id == id; });
    if (found == pending.end()) {
        return;
    }
    const AIChatAttachment removed = *found;
    pending.erase(found);
    setPendingAIAttachments(pending);
    removeStoredAttachments({removed});
    resizeMiniAIPanel();
}

std::optional<QImage> AppModel::imageForAIAttachment(const AIChatAttachment& attachment) const {
    if (attachment.kind != AIChatAttachmentKind::image) {
        return std::nullopt;
    }
    const auto cached = m_aiAttachmentImageCache.constFind(attachment.id);
    if (cached == m_aiAttachmentImageCache.cend()) {
        return std::nullopt;
    }
    return *cached;
}

// ---------------------------------------------------------------- palette

void AppModel::perform(const PaletteItem& item) {
    m_windows.hideQuickPanel(m_windows.palette());
    const PaletteAction::Kind action = item.action.kind();
    GlobalSurfaceFocusCoordinator& focus = *m_deps.focusCoordinator;
    focus.beforePaletteAction(action);
    switch (action) {
    case PaletteAction::Kind::launchApplication:
        m_deps.launcher->launch(ApplicationRecord(QString(), item.action.applicationURL()));
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

// ---------------------------------------------------------------- rules

QString AppModel::chatTitle(const QString& prompt) {
    static const QRegularExpression whitespace(QStringLiteral("\\s+"),
                                               QRegularExpression::UseUnicodePropertiesOption);
    const QString joined = prompt.split(whitespace, Qt::SkipEmptyParts).join(u' ');

    // Counted in user-perceived characters, so a cut never splits one.
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, joined);
    qsizetype count = 0;
    qsizetype cutAt = -1;
    while (graphemes.toNextBoundary() >= 0) {
        ++count;
        if (count == maximumTitleLength - 1) {
            cutAt = graphemes.position();
        }
    }
    if (count <= maximumTitleLength) {
        return joined;
    }
    return joined.left(cutAt).trimmed() + QStringLiteral("…");
}

QString AppModel::defaultPrompt(const QList<AIChatAttachment>& attachments) {
    if (attachments.size() == 1) {
        return QStringLiteral("Describe and analyze the attached file: ") +
               attachments.first().name;
    }
    return QStringLiteral("Describe and analyze these %1 attached files.").arg(attachments.size());
}

QSet<QString> AppModel::referencedAttachmentFileNames(const QList<AIChatSession>& chats,
                                                      const QList<AIChatAttachment>& pending) {
    QSet<QString> names;
    for (const AIChatSession& chat : chats) {
        for (const AIChatTurn& turn : chat.turns) {
            for (const AIChatAttachment& attachment : turn.attachments) {
                names.insert(attachment.storageFileName);
            }
        }
    }
    for (const AIChatAttachment& attachment : pending) {
        names.insert(attachment.storageFileName);
    }
    return names;
}

QList<AIChatAttachment> AppModel::applyHistoryLimits(QList<AIChatSession>& chats) {
    QList<AIChatAttachment> dropped;
    for (AIChatSession& chat : chats) {
        const qsizetype excess = chat.turns.size() - maximumTurnsPerChat;
        if (excess > 0) {
            dropped += attachmentsOf(chat.turns.first(excess));
            chat.turns.remove(0, excess);
        }
    }
    std::stable_sort(
        chats.begin(), chats.end(),
        [](const AIChatSession& a, const AIChatSession& b) { return a.updatedAt > b.updatedAt; });
    if (chats.size() > maximumChats) {
        for (qsizetype i = maximumChats; i < chats.size(); ++i) {
            dropped += attachmentsOf(chats[i].turns);
        }
        chats.resize(maximumChats);
    }
    return dropped;
}

} // namespace plimbo
