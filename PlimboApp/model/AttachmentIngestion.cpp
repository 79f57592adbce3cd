#include "AttachmentIngestion.h"

#include "AIAttachmentError.h"
#include "AIAttachmentPreparer.h"
#include "AIChatHistoryStore.h"
#include "MainThreadContinuation.h"
#include "StoredAttachments.h"
#include "TaskExecutor.h"

#include <QPointer>

#include <optional>

namespace plimbo {

AttachmentIngestion::AttachmentIngestion(QList<QUrl> urls,
                                         std::function<QList<AIChatAttachment>()> pending,
                                         std::shared_ptr<AIChatHistoryStore> store,
                                         TaskExecutor& executor, StoredAttachments& attachments,
                                         QObject* parent)
    : QObject(parent)
    , m_urls(std::move(urls))
    , m_pending(std::move(pending))
    , m_store(std::move(store))
    , m_executor(executor)
    , m_attachments(attachments) {}

void AttachmentIngestion::start() {
    prepareNext();
}

void AttachmentIngestion::prepareNext() {
    if (m_next >= m_urls.size()) {
        emit finished(m_failures, m_anyAdded);
        return;
    }
    if (AIAttachmentPreparer::isPendingListFull(m_pending())) {
        m_failures.addFileLimitReached();
        emit finished(m_failures, m_anyAdded);
        return;
    }
    const QUrl url = m_urls[m_next++];
    const QFuture<PreparedAIAttachment> preparing =
        runInBackground(m_executor, TaskExecutor::Priority::userInitiated,
                        [url] { return AIAttachmentPreparer::prepare(url); });
    whenFinished(preparing, this,
                 [this, url](const QFuture<PreparedAIAttachment>& done) { prepared(url, done); });
}

void AttachmentIngestion::prepared(const QUrl& url, const QFuture<PreparedAIAttachment>& done) {
    std::optional<PreparedAIAttachment> file;
    try {
        file = resultOf(done);
    } catch (...) {
        m_failures.add(url, std::current_exception());
        prepareNext();
        return;
    }
    if (!file) {
        emit dropped();
        return;
    }
    if (!AIAttachmentPreparer::fitsMessageTotal(m_pending(), file->data.size())) {
        m_failures.add(url, AIAttachmentError(AIAttachmentError::Kind::totalTooLarge));
        prepareNext();
        return;
    }
    const std::shared_ptr<AIChatHistoryStore> store = m_store;
    const PreparedAIAttachment prepared = *file;
    const QFuture<AIChatAttachment> saving =
        runInBackground(m_executor, TaskExecutor::Priority::userInitiated, [store, prepared] {
            return store->saveAttachment(prepared.data, prepared.fileName, prepared.mimeType,
                                         prepared.kind);
        });
    // Owned by the parent (the draft), not by this object: a file saved after the ingestion
    // stopped is listed nowhere and must still be deleted. A future takes one continuation only.
    whenFinished(saving, parent(),
                 [self = QPointer<AttachmentIngestion>(this), &attachments = m_attachments, url,
                  image = prepared.image](const QFuture<AIChatAttachment>& done) {
                     if (self) {
                         self->saved(url, image, done);
                         return;
                     }
                     if (const std::optional<AIChatAttachment> attachment = resultOf(done)) {
                         attachments.deleteFiles({*attachment});
                     }
                 });
}

void AttachmentIngestion::saved(const QUrl& url, const std::optional<QImage>& image,
                                const QFuture<AIChatAttachment>& done) {
    std::optional<AIChatAttachment> attachment;
    try {
        attachment = resultOf(done);
    } catch (...) {
        m_failures.add(url, std::current_exception());
        prepareNext();
        return;
    }
    if (!attachment) {
        emit dropped();
        return;
    }
    // The card is built with its thumbnail at hand.
    if (image) {
        m_attachments.insertImage(attachment->id, *image);
    }
    m_anyAdded = true;
    emit added(*attachment);
    prepareNext();
}

} // namespace plimbo
