#include "RetryAttachmentCopy.h"

#include "AIChatHistoryStore.h"
#include "FailureText.h"
#include "MainThreadContinuation.h"
#include "StoredAttachments.h"
#include "TaskExecutor.h"

#include <QPointer>

namespace plimbo {

RetryAttachmentCopy::RetryAttachmentCopy(QList<AIChatAttachment> originals,
                                         std::shared_ptr<AIChatHistoryStore> store,
                                         TaskExecutor& executor, StoredAttachments& attachments,
                                         TakeBack takeBack, QObject* parent)
    : QObject(parent)
    , m_originals(std::move(originals))
    , m_store(std::move(store))
    , m_executor(executor)
    , m_attachments(attachments)
    , m_takeBack(std::move(takeBack)) {}

RetryAttachmentCopy::Copies RetryAttachmentCopy::copy(AIChatHistoryStore& store,
                                                      const QList<AIChatAttachment>& originals) {
    Copies result;
    for (const AIChatAttachment& original : originals) {
        try {
            result.copies.append(store.saveAttachment(store.data(original), original.name,
                                                      original.mimeType, original.kind));
        } catch (...) {
            result.missingNames.append(original.name);
        }
    }
    if (!result.missingNames.isEmpty()) {
        // All or nothing: no copy stays behind when the retry cannot go ahead.
        for (const AIChatAttachment& copy : std::as_const(result.copies)) {
            try {
                store.removeAttachment(copy);
            } catch (...) {
                // Left for the next start-up's clean-up.
                logSwallowedFailure("Deleting a copied attachment");
            }
        }
        result.copies.clear();
    }
    return result;
}

void RetryAttachmentCopy::start() {
    const std::shared_ptr<AIChatHistoryStore> store = m_store;
    const QList<AIChatAttachment> originals = m_originals;
    const QFuture<Copies> copying =
        runInBackground(m_executor, TaskExecutor::Priority::userInitiated,
                        [store, originals] { return copy(*store, originals); });
    // Owned by the parent (the draft), not by this object: copies made after the retry stopped
    // are listed nowhere and must still be deleted. A future takes one continuation only.
    whenFinished(copying, parent(),
                 [self = QPointer<RetryAttachmentCopy>(this),
                  &attachments = m_attachments](const QFuture<Copies>& done) {
                     if (self) {
                         self->landed(done);
                         return;
                     }
                     if (const std::optional<Copies> copied = resultOf(done)) {
                         attachments.deleteFiles(copied->copies);
                     }
                 });
}

void RetryAttachmentCopy::landed(const QFuture<Copies>& done) {
    std::optional<Copies> result;
    try {
        result = resultOf(done);
    } catch (...) {
        // Treated as dropped: the retry simply ends.
        logSwallowedFailure("Copying attachments for a retry");
    }
    if (!result) {
        emit dropped();
        return;
    }
    if (!result->missingNames.isEmpty()) {
        emit unavailable(result->missingNames);
        return;
    }
    const QList<AIChatAttachment> copies = result->copies;
    emit copied(copies);
    // Owned by the parent as well: copies of a retry stopped meanwhile are taken back once
    // their images are decoded.
    whenFinished(m_attachments.preload(copies), parent(),
                 [self = QPointer<RetryAttachmentCopy>(this), takeBack = m_takeBack,
                  copies](const QFuture<void>&) {
                     if (self) {
                         emit self->ready();
                     } else {
                         takeBack(copies);
                     }
                 });
}

} // namespace plimbo
