#include "ChatComposer.h"

#include "AIChatHistoryStore.h"
#include "AttachmentIngestion.h"
#include "ChatList.h"
#include "FileChooser.h"
#include "PropertyAssign.h"
#include "RetryAttachmentCopy.h"
#include "StoredAttachments.h"

#include <QPointer>
#include <QSet>

#include <algorithm>
#include <utility>

namespace plimbo {

ChatComposer::ChatComposer(std::shared_ptr<AIChatHistoryStore> store, TaskExecutor& executor,
                           StoredAttachments& attachments, const ChatList& chats,
                           FileChooser* chooser, QObject* parent)
    : QObject(parent)
    , m_store(std::move(store))
    , m_executor(executor)
    , m_attachments(attachments)
    , m_chats(chats)
    , m_chooser(chooser) {
    connect(&m_chats, &ChatList::isLoadedChanged, this, [this] {
        if (m_chats.isLoaded() && !m_waiting.isEmpty()) {
            add(std::exchange(m_waiting, {}));
        }
    });
}

// Out of line: the operations are complete here.
ChatComposer::~ChatComposer() = default;

void ChatComposer::setInput(const QString& input) {
    assign(this, m_input, input, &ChatComposer::inputChanged);
}

void ChatComposer::setPendingAttachments(const QList<AIChatAttachment>& attachments) {
    assign(this, m_pending, attachments, &ChatComposer::pendingAttachmentsChanged);
}

void ChatComposer::setIsAdding(bool adding) {
    assign(this, m_isAdding, adding, &ChatComposer::isAddingChanged);
}

// ---------------------------------------------------------------- operations

void ChatComposer::begin(std::unique_ptr<QObject> operation) {
    m_operation = std::move(operation);
    setIsAdding(true);
    emit attachingStarted();
}

void ChatComposer::end() {
    if (!m_operation) {
        return; // cancelled by a listener of its last report
    }
    m_operation.release()->deleteLater();
    setIsAdding(false);
    emit attachingEnded();
}

void ChatComposer::cancelOperation() {
    m_operation.reset();
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
}

bool ChatComposer::choose(std::function<void(const QList<QUrl>&)> closed) {
    if (m_isAdding || !m_chooser) {
        return false;
    }
    QPointer<ChatComposer> self(this);
    m_chooser->chooseFiles(FileChooser::Options{QStringLiteral("Attach to Plimbo AI"),
                                                QStringLiteral("Attach"), false, true},
                           [self, closed = std::move(closed)](const QList<QUrl>& urls) {
                               if (self) {
                                   closed(urls);
                               }
                           });
    return true;
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
    auto ingestion = std::make_unique<AttachmentIngestion>(
        fileURLs, [this] { return m_pending; }, m_store, m_executor, m_attachments, this);
    AttachmentIngestion* running = ingestion.get();
    connect(running, &AttachmentIngestion::added, this, [this](const AIChatAttachment& attachment) {
        setPendingAttachments(m_pending + QList<AIChatAttachment>{attachment});
    });
    connect(running, &AttachmentIngestion::finished, this,
            [this](const AIAttachmentFailureList& failures, bool anyAdded) {
                if (!failures.isEmpty()) {
                    emit failed(failures.message());
                }
                if (anyAdded) {
                    emit attachmentsAdded();
                }
                end();
            });
    connect(running, &AttachmentIngestion::dropped, this, &ChatComposer::end);
    begin(std::move(ingestion));
    running->start();
    return true;
}

// ---------------------------------------------------------------- retry copies

void ChatComposer::copyForRetry(const QList<AIChatAttachment>& originals,
                                std::function<void()> ready) {
    auto copy = std::make_unique<RetryAttachmentCopy>(
        originals, m_store, m_executor, m_attachments,
        [this](const QList<AIChatAttachment>& copies) { takeBack(copies); }, this);
    RetryAttachmentCopy* running = copy.get();
    connect(running, &RetryAttachmentCopy::copied, this, &ChatComposer::setPendingAttachments);
    connect(running, &RetryAttachmentCopy::ready, this, [this, ready = std::move(ready)] {
        end();
        ready();
    });
    connect(running, &RetryAttachmentCopy::unavailable, this,
            [this](const QStringList& missingNames) {
                end();
                emit failed(QStringLiteral("Retry stopped because these attachments are no "
                                           "longer available: ") +
                            missingNames.join(QStringLiteral(", ")) + QStringLiteral("."));
            });
    connect(running, &RetryAttachmentCopy::dropped, this, &ChatComposer::end);
    begin(std::move(copy));
    running->start();
}

void ChatComposer::takeBack(const QList<AIChatAttachment>& copies) {
    // A retry cancelled after its copies went pending: take back those still listed along with
    // their files, or the composer would offer attachments whose files are gone. Copies that
    // left the draft meanwhile (sent with a turn) belong to that turn now.
    const QSet<QString> referenced = ChatList::referencedAttachmentFileNames(m_chats.chats(), {});
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
    }
    m_attachments.remove(taken);
}

} // namespace plimbo
