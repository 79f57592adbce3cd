#pragma once

#include "AIAttachmentFailureList.h"
#include "AIChatAttachment.h"
#include "PreparedAIAttachment.h"

#include <QFuture>
#include <QImage>
#include <QList>
#include <QObject>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

namespace plimbo {

class AIChatHistoryStore;
class StoredAttachments;
class TaskExecutor;

// One ingestion of chosen or dropped files: each file is prepared, checked against the draft's
// limits and saved in the background, one after the other. Main thread only; its parent (the
// draft) must outlive it. Stopping it is deleting it: no further file is read and nothing more
// is reported; a file whose save lands afterwards is deleted again. It reports
// every saved file through added(), then once finished() or, when the executor dropped a job,
// dropped().
class AttachmentIngestion : public QObject {
    Q_OBJECT

public:
    // `pending` reads the draft's pending attachments afresh before each file.
    AttachmentIngestion(QList<QUrl> urls, std::function<QList<AIChatAttachment>()> pending,
                        std::shared_ptr<AIChatHistoryStore> store, TaskExecutor& executor,
                        StoredAttachments& attachments, QObject* parent = nullptr);

    void start();

signals:
    void added(const plimbo::AIChatAttachment& attachment);
    // Every file was tried, or the file limit was reached; `failures` holds one line per file
    // that was not taken.
    void finished(const plimbo::AIAttachmentFailureList& failures, bool anyAdded);
    void dropped();

private:
    void prepareNext();
    void prepared(const QUrl& url, const QFuture<PreparedAIAttachment>& done);
    void saved(const QUrl& url, const std::optional<QImage>& image,
               const QFuture<AIChatAttachment>& done);

    QList<QUrl> m_urls;
    qsizetype m_next = 0;
    std::function<QList<AIChatAttachment>()> m_pending;
    std::shared_ptr<AIChatHistoryStore> m_store;
    TaskExecutor& m_executor;
    StoredAttachments& m_attachments;
    AIAttachmentFailureList m_failures;
    bool m_anyAdded = false;
};

} // namespace plimbo
