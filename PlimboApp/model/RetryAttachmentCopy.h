#pragma once

#include "AIChatAttachment.h"

#include <QFuture>
#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace plimbo {

class AIChatHistoryStore;
class StoredAttachments;
class TaskExecutor;

// A retry's copies of an earlier turn's attachments: copied in the background, all or none,
// then their images decoded. Main thread only; its parent (the draft) must outlive it. Stopping
// it is deleting it: nothing more is reported, copies that land afterwards are deleted again,
// and copies already pending are handed to `takeBack`. It reports
// copied() and then ready(), or one of unavailable() and dropped().
class RetryAttachmentCopy : public QObject {
    Q_OBJECT

public:
    // Runs when the retry stopped after its copies went pending, once their images are decoded.
    using TakeBack = std::function<void(const QList<AIChatAttachment>& copies)>;

    RetryAttachmentCopy(QList<AIChatAttachment> originals,
                        std::shared_ptr<AIChatHistoryStore> store, TaskExecutor& executor,
                        StoredAttachments& attachments, TakeBack takeBack,
                        QObject* parent = nullptr);

    void start();

signals:
    // The copies exist; ready() follows once their images are decoded.
    void copied(const QList<plimbo::AIChatAttachment>& copies);
    void ready();
    // These originals could not be read, so no copy was kept.
    void unavailable(const QStringList& missingNames);
    // The executor dropped the job.
    void dropped();

private:
    struct Copies {
        QList<AIChatAttachment> copies;
        QStringList missingNames;
    };

    static Copies copy(AIChatHistoryStore& store, const QList<AIChatAttachment>& originals);
    void landed(const QFuture<Copies>& done);

    QList<AIChatAttachment> m_originals;
    std::shared_ptr<AIChatHistoryStore> m_store;
    TaskExecutor& m_executor;
    StoredAttachments& m_attachments;
    TakeBack m_takeBack;
};

} // namespace plimbo
