#pragma once

#include "AIChatAttachment.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

namespace plimbo {

class AIChatHistoryStore;
class ChatList;
class FileChooser;
class StoredAttachments;
class TaskExecutor;
class WindowRouter;

// What the next message will carry: the draft text and the pending attachments, with their
// ingestion (choose, prepare and save each file in the background) and a retry's copies of an
// earlier turn's files. Main thread only. One attachment operation runs at a time; it carries a
// fresh id and gives up silently once the current id moved on (cancelled, or replaced by a
// newer one), deleting any file it saved meanwhile. Per-file failures of one ingestion are
// reported together through failed().
class ChatComposer : public QObject {
    Q_OBJECT

public:
    ChatComposer(std::shared_ptr<AIChatHistoryStore> store, TaskExecutor& executor,
                 StoredAttachments& attachments, const ChatList& chats, WindowRouter& windows,
                 FileChooser* chooser, QObject* parent = nullptr);
    ~ChatComposer() override;

    QString input() const { return m_input; }
    void setInput(const QString& input);
    QList<AIChatAttachment> pendingAttachments() const { return m_pending; }
    // The pending attachments now belong to someone else (a sent turn, a preview).
    void setPendingAttachments(const QList<AIChatAttachment>& attachments);
    bool isAdding() const { return m_isAdding; }

    // Opens the file dialog (paused outside-click dismissal of the mini assistant meanwhile);
    // hands the chosen files to `chosen`. Nothing while attachments are added or without a
    // chooser.
    void choose(std::function<void(const QList<QUrl>&)> chosen);
    // Starts reading the files into pending attachments; false (and nothing changes) while
    // attachments are added or for an empty list. Before the history is loaded the files wait
    // and are read once it is.
    bool add(const QList<QUrl>& fileURLs);
    // Text typed, files pending or waiting for the history.
    bool hasDraft() const;
    void removePending(const QUuid& id);
    // Drops every pending attachment with its file, and the files waiting for the history.
    void clearPending();
    // Abandons the running operation; what it still delivers is dropped.
    void cancelOperation();
    // Copies `originals` into new pending attachments (all or none), then calls `ready` once
    // their images are decoded, unless the copy was superseded meanwhile.
    void copyForRetry(const QList<AIChatAttachment>& originals, std::function<void()> ready);

signals:
    void inputChanged();
    void pendingAttachmentsChanged();
    void isAddingChanged();
    // An operation started, ended (either way), or added at least one file.
    void attachingStarted();
    void attachingEnded();
    void attachmentsAdded();
    // Files were put aside until the history is loaded.
    void filesWaiting();
    void failed(const QString& message);

private:
    struct Operation;
    struct Ingestion;

    std::shared_ptr<Operation> beginOperation();
    bool isCurrent(const std::shared_ptr<Operation>& operation) const;
    void release(const std::shared_ptr<Operation>& operation);
    void ingestNext(const std::shared_ptr<Operation>& operation,
                    const std::shared_ptr<Ingestion>& ingestion);
    void endIngestion(const std::shared_ptr<Operation>& operation,
                      const std::shared_ptr<Ingestion>& ingestion);
    void finishRetry(const std::shared_ptr<Operation>& operation,
                     const QList<AIChatAttachment>& copies, const std::function<void()>& ready);
    void setIsAdding(bool adding);
    void fitMiniAssistant();

    std::shared_ptr<AIChatHistoryStore> m_store;
    TaskExecutor& m_executor;
    StoredAttachments& m_attachments;
    const ChatList& m_chats;
    WindowRouter& m_windows;
    FileChooser* m_chooser;

    QString m_input;
    QList<AIChatAttachment> m_pending;
    QList<QUrl> m_waiting;
    bool m_isAdding = false;
    std::shared_ptr<Operation> m_operation;
    // The id of the current operation; an older operation's late results compare unequal.
    std::optional<QUuid> m_operationID;
};

} // namespace plimbo
