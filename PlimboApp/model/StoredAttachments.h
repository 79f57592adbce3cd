#pragma once

#include "AIChatAttachment.h"

#include <QFuture>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QUuid>

#include <memory>

#include <optional>

namespace plimbo {

class AIChatHistoryStore;
class TaskExecutor;

// The attachment files in the history store's folder, as the chat features use them: the
// decoded images of image attachments (decoded off the main thread, kept by attachment id) and
// the removal of files no turn or draft lists any more. Main thread only; the background work
// holds the store, never this object, and a decoding that ends after this object is gone is
// dropped.
class StoredAttachments : public QObject {
    Q_OBJECT

public:
    StoredAttachments(std::shared_ptr<AIChatHistoryStore> store, TaskExecutor& executor,
                      QObject* parent = nullptr);

    // The decoded image of an image attachment, when one is cached; never loads anything.
    std::optional<QImage> image(const AIChatAttachment& attachment) const;
    void insertImage(const QUuid& attachmentID, const QImage& image);
    // Decodes the images among `attachments` that are not cached yet; the future finishes once
    // they are in the cache (a file that is gone or unreadable simply has no image).
    QFuture<void> preload(const QList<AIChatAttachment>& attachments);
    // Forgets their images and deletes their files in the background.
    void remove(const QList<AIChatAttachment>& attachments);
    // Deletes the files only (nobody has cached an image of them).
    void deleteFiles(const QList<AIChatAttachment>& attachments);

signals:
    // An image joined the cache (inserted or decoded), for the views that show it.
    void imageReady(const QUuid& attachmentID);

private:
    std::shared_ptr<AIChatHistoryStore> m_store;
    TaskExecutor& m_executor;
    QHash<QUuid, QImage> m_images;
};

} // namespace plimbo
