#include "StoredAttachments.h"

#include "AIChatHistoryStore.h"
#include "FailureText.h"
#include "MainThreadContinuation.h"
#include "TaskExecutor.h"

#include <QPair>
#include <QPromise>

namespace plimbo {

StoredAttachments::StoredAttachments(std::shared_ptr<AIChatHistoryStore> store,
                                     TaskExecutor& executor, QObject* parent)
    : QObject(parent)
    , m_store(std::move(store))
    , m_executor(executor) {}

std::optional<QImage> StoredAttachments::image(const AIChatAttachment& attachment) const {
    if (attachment.kind != AIChatAttachmentKind::image) {
        return std::nullopt;
    }
    const auto cached = m_images.constFind(attachment.id);
    if (cached == m_images.cend()) {
        return std::nullopt;
    }
    return *cached;
}

void StoredAttachments::insertImage(const QUuid& attachmentID, const QImage& image) {
    m_images.insert(attachmentID, image);
    emit imageReady(attachmentID);
}

QFuture<void> StoredAttachments::preload(const QList<AIChatAttachment>& attachments) {
    QList<AIChatAttachment> wanted;
    for (const AIChatAttachment& attachment : attachments) {
        if (attachment.kind == AIChatAttachmentKind::image && !m_images.contains(attachment.id)) {
            wanted.append(attachment);
        }
    }
    if (wanted.isEmpty()) {
        return QtFuture::makeReadyFuture();
    }
    using Decoded = QList<QPair<QUuid, QImage>>;
    const std::shared_ptr<AIChatHistoryStore> store = m_store;
    const QFuture<Decoded> decoding =
        runInBackground(m_executor, TaskExecutor::Priority::utility, [store, wanted] {
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
                    m_images.insert(id, image);
                    emit imageReady(id);
                }
            }
        } catch (...) {
            // The decoding job itself failed: the attachments simply have no thumbnails.
            logSwallowedFailure("Decoding attachment thumbnails");
        }
        promise->finish();
    });
    return promise->future();
}

void StoredAttachments::remove(const QList<AIChatAttachment>& attachments) {
    if (attachments.isEmpty()) {
        return;
    }
    for (const AIChatAttachment& attachment : attachments) {
        m_images.remove(attachment.id);
    }
    deleteFiles(attachments);
}

void StoredAttachments::deleteFiles(const QList<AIChatAttachment>& attachments) {
    if (attachments.isEmpty()) {
        return;
    }
    const std::shared_ptr<AIChatHistoryStore> store = m_store;
    runInBackground(m_executor, TaskExecutor::Priority::utility, [store, attachments] {
        for (const AIChatAttachment& attachment : attachments) {
            try {
                store->removeAttachment(attachment);
            } catch (...) {
                // Left for the next start-up's clean-up.
                logSwallowedFailure("Deleting an attachment file");
            }
        }
    });
}

} // namespace plimbo
