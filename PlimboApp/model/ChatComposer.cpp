#include "ChatComposer.h"

#include "AIAttachmentError.h"
#include "AIAttachmentFailureList.h"
#include "AIAttachmentPreparer.h"
#include "AIChatHistoryStore.h"
#include "ChatList.h"
#include "FailureText.h"
#include "FileChooser.h"
#include "MainThreadContinuation.h"
#include "MiniAssistantController.h"
#include "PropertyAssign.h"
#include "StoredAttachments.h"
#include "TaskExecutor.h"
#include "WindowRouter.h"

#include <QPointer>
#include <QSet>

#include <algorithm>
#include <utility>

namespace plimbo {

namespace {

// What a retry's background copy produced.
struct RetryCopies {
    QList<AIChatAttachment> copies;
    QStringList missingNames;
};

} // namespace

// An ingestion or a retry's copying; superseded when the composer's operation id moves on or
// it is cancelled.
struct ChatComposer::Operation {
    QUuid id = QUuid::createUuid();
    bool cancelled = false;
};

struct ChatComposer::Ingestion {
    QList<QUrl> urls;
    qsizetype next = 0;
    AIAttachmentFailureList failures;
    bool added = false;
};

ChatComposer::ChatComposer(std::shared_ptr<AIChatHistoryStore> store, TaskExecutor& executor,
                           StoredAttachments& attachments, const ChatList& chats,
                           WindowRouter& windows, FileChooser* chooser, QObject* parent)
    : QObject(parent)
    , m_store(std::move(store))
    , m_executor(executor)
    , m_attachments(attachments)
    , m_chats(chats)
    , m_windows(windows)
    , m_chooser(chooser) {
    connect(&m_chats, &ChatList::isLoadedChanged, this, [this] {
        if (m_chats.isLoaded() && !m_waiting.isEmpty()) {
            add(std::exchange(m_waiting, {}));
        }
    });
}

ChatComposer::~ChatComposer() {
    // Whatever the running ingestion still delivers must not reach this composer.
    if (m_operation) {
        m_operation->cancelled = true;
    }
}

void ChatComposer::setInput(const QString& input) {
    assign(this, m_input, input, &ChatComposer::inputChanged);
}

void ChatComposer::setPendingAttachments(const QList<AIChatAttachment>& attachments) {
    assign(this, m_pending, attachments, &ChatComposer::pendingAttachmentsChanged);
}

void ChatComposer::setIsAdding(bool adding) {
    assign(this, m_isAdding, adding, &ChatComposer::isAddingChanged);
}

void ChatComposer::fitMiniAssistant() {
    m_windows.fitMiniAssistant(!m_chats.conversation().isEmpty());
}

// ---------------------------------------------------------------- operations

std::shared_ptr<ChatComposer::Operation> ChatComposer::beginOperation() {
    auto operation = std::make_shared<Operation>();
    m_operationID = operation->id;
    m_operation = operation;
    setIsAdding(true);
    emit attachingStarted();
    return operation;
}

bool ChatComposer::isCurrent(const std::shared_ptr<Operation>& operation) const {
    return !operation->cancelled && m_operationID == operation->id;
}

void ChatComposer::release(const std::shared_ptr<Operation>& operation) {
    if (m_operationID != operation->id) {
        return; // a newer operation owns the state now
    }
    m_operationID.reset();
    m_operation.reset();
    setIsAdding(false);
    emit attachingEnded();
}

void ChatComposer::cancelOperation() {
    m_operationID.reset();
    if (m_operation) {
        m_operation->cancelled = true;
        m_operation.reset();
    }
    setIsAdding(false);
    emit attachingEnded();
}

// ---------------------------------------------------------------- pending attachments

bool ChatComposer::hasDraft() const {
    return !m_input.isEmpty() || !m_pending.isEmpty() || !m_waiting.isEmpty();
}

void ChatComposer::clearPending() {
    m_waiting.clear();
    m_attachments.remove(m_pending);
    setPendingAttachments({});
    fitMiniAssistant();
}

void ChatComposer::removePending(const QUuid& id) {
    QList<AIChatAttachment> pending = m_pending;
    auto found =
        std::find_if(pending.begin(), pending.end(),
                     [&](const AIChatAttachment& attachment) { return attachment.id == id; });
    if (found == pending.end()) {
        return;
    }
    const AIChatAttachment removed = *found;
    pending.erase(found);
    setPendingAttachments(pending);
    m_attachments.remove({removed});
    fitMiniAssistant();
}

void ChatComposer::choose(std::function<void(const QList<QUrl>&)> chosen) {
    if (m_isAdding || !m_chooser) {
        return;
    }
    // The dialog would count as an outside click and close the mini assistant.
    MiniAssistantController* mini = m_windows.miniAssistant();
    const bool paused = mini && mini->isVisible();
    if (paused) {
        mini->stopOutsideClickMonitoring();
    }
    QPointer<ChatComposer> self(this);
    m_chooser->chooseFiles(FileChooser::Options{QStringLiteral("Attach to Plimbo AI"),
                                                QStringLiteral("Attach"), false, true},
                           [self, paused, chosen = std::move(chosen)](const QList<QUrl>& urls) {
                               if (!self) {
                                   return;
                               }
                               MiniAssistantController* mini = self->m_windows.miniAssistant();
                               if (paused && mini && mini->isVisible()) {
                                   mini->stopOutsideClickMonitoring();
                                   mini->startOutsideClickMonitoring();
                               }
                               if (!urls.isEmpty()) {
                                   chosen(urls);
                               }
                           });
}

// ---------------------------------------------------------------- ingestion

bool ChatComposer::add(const QList<QUrl>& fileURLs) {
    if (m_isAdding || fileURLs.isEmpty()) {
        return false;
    }
    // Before the history is loaded the start-up clean-up may still delete unlisted files.
    if (!m_chats.isLoaded()) {
        m_waiting += fileURLs;
        emit filesWaiting();
        return true;
    }
    const std::shared_ptr<Operation> operation = beginOperation();
    auto ingestion = std::make_shared<Ingestion>();
    ingestion->urls = fileURLs;
    ingestNext(operation, ingestion);
    return true;
}

void ChatComposer::ingestNext(const std::shared_ptr<Operation>& operation,
                              const std::shared_ptr<Ingestion>& ingestion) {
    if (!isCurrent(operation)) {
        release(operation);
        return;
    }
    if (ingestion->next >= ingestion->urls.size()) {
        endIngestion(operation, ingestion);
        return;
    }
    if (AIAttachmentPreparer::isPendingListFull(m_pending)) {
        ingestion->failures.addFileLimitReached();
        endIngestion(operation, ingestion);
        return;
    }
    const QUrl url = ingestion->urls[ingestion->next++];
    const QFuture<PreparedAIAttachment> preparing =
        runInBackground(m_executor, TaskExecutor::Priority::userInitiated,
                        [url] { return AIAttachmentPreparer::prepare(url); });
    whenFinished(
        preparing, this,
        [this, operation, ingestion, url](const QFuture<PreparedAIAttachment>& done) {
            std::optional<PreparedAIAttachment> prepared;
            try {
                prepared = resultOf(done);
            } catch (...) {
                ingestion->failures.add(url, std::current_exception());
                ingestNext(operation, ingestion);
                return;
            }
            if (!prepared || !isCurrent(operation)) {
                release(operation);
                return;
            }
            if (!AIAttachmentPreparer::fitsMessageTotal(m_pending, prepared->data.size())) {
                ingestion->failures.add(url,
                                        AIAttachmentError(AIAttachmentError::Kind::totalTooLarge));
                ingestNext(operation, ingestion);
                return;
            }
            const std::shared_ptr<AIChatHistoryStore> store = m_store;
            const PreparedAIAttachment file = *prepared;
            const QFuture<AIChatAttachment> saving =
                runInBackground(m_executor, TaskExecutor::Priority::userInitiated, [store, file] {
                    return store->saveAttachment(file.data, file.fileName, file.mimeType,
                                                 file.kind);
                });
            whenFinished(saving, this,
                         [this, operation, ingestion, url,
                          image = file.image](const QFuture<AIChatAttachment>& saved) {
                             std::optional<AIChatAttachment> attachment;
                             try {
                                 attachment = resultOf(saved);
                             } catch (...) {
                                 ingestion->failures.add(url, std::current_exception());
                                 ingestNext(operation, ingestion);
                                 return;
                             }
                             if (!attachment) {
                                 release(operation);
                                 return;
                             }
                             if (!isCurrent(operation)) {
                                 // Saved after the ingestion was abandoned: nobody lists it.
                                 m_attachments.deleteFiles({*attachment});
                                 release(operation);
                                 return;
                             }
                             // The card is built with its thumbnail at hand.
                             if (image) {
                                 m_attachments.insertImage(attachment->id, *image);
                             }
                             setPendingAttachments(m_pending +
                                                   QList<AIChatAttachment>{*attachment});
                             ingestion->added = true;
                             ingestNext(operation, ingestion);
                         });
        });
}

void ChatComposer::endIngestion(const std::shared_ptr<Operation>& operation,
                                const std::shared_ptr<Ingestion>& ingestion) {
    if (!ingestion->failures.isEmpty()) {
        emit failed(ingestion->failures.message());
    }
    if (ingestion->added) {
        emit attachmentsAdded();
        fitMiniAssistant();
    }
    release(operation);
}

// ---------------------------------------------------------------- retry copies

void ChatComposer::copyForRetry(const QList<AIChatAttachment>& originals,
                                std::function<void()> ready) {
    const std::shared_ptr<Operation> operation = beginOperation();
    const std::shared_ptr<AIChatHistoryStore> store = m_store;
    const QFuture<RetryCopies> copying =
        runInBackground(m_executor, TaskExecutor::Priority::userInitiated, [store, originals] {
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
                        // Left for the next start-up's clean-up.
                        logSwallowedFailure("Deleting a copied attachment");
                    }
                }
                result.copies.clear();
            }
            return result;
        });
    whenFinished(copying, this,
                 [this, operation, ready = std::move(ready)](const QFuture<RetryCopies>& done) {
                     std::optional<RetryCopies> copied;
                     try {
                         copied = resultOf(done);
                     } catch (...) {
                         // Treated as dropped: the operation simply ends.
                         logSwallowedFailure("Copying attachments for a retry");
                     }
                     if (!copied) {
                         release(operation);
                         return;
                     }
                     if (!isCurrent(operation)) {
                         m_attachments.deleteFiles(copied->copies);
                         return;
                     }
                     if (!copied->missingNames.isEmpty()) {
                         release(operation);
                         emit failed(QStringLiteral("Retry stopped because these attachments are "
                                                    "no longer available: ") +
                                     copied->missingNames.join(QStringLiteral(", ")) +
                                     QStringLiteral("."));
                         return;
                     }
                     const QList<AIChatAttachment> copies = copied->copies;
                     setPendingAttachments(copies);
                     fitMiniAssistant();
                     whenFinished(m_attachments.preload(copies), this,
                                  [this, operation, copies, ready](const QFuture<void>&) {
                                      finishRetry(operation, copies, ready);
                                  });
                 });
}

void ChatComposer::finishRetry(const std::shared_ptr<Operation>& operation,
                               const QList<AIChatAttachment>& copies,
                               const std::function<void()>& ready) {
    if (!isCurrent(operation)) {
        // Superseded after the copies went pending: take back those still listed along with
        // their files, or the composer would offer attachments whose files are gone. Copies
        // that left the draft meanwhile (sent with a turn) belong to that turn now.
        const QSet<QString> referenced =
            ChatList::referencedAttachmentFileNames(m_chats.chats(), {});
        QList<AIChatAttachment> remaining = m_pending;
        QList<AIChatAttachment> taken;
        remaining.removeIf([&](const AIChatAttachment& pending) {
            const bool isCopy =
                std::any_of(copies.cbegin(), copies.cend(),
                            [&](const AIChatAttachment& copy) { return copy.id == pending.id; });
            if (isCopy && !referenced.contains(pending.storageFileName)) {
                taken.append(pending);
                return true;
            }
            return false;
        });
        if (!taken.isEmpty()) {
            setPendingAttachments(remaining);
            fitMiniAssistant();
        }
        m_attachments.remove(taken);
        return;
    }
    release(operation);
    ready();
}

} // namespace plimbo
