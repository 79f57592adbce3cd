#pragma once

#include "AIChatAttachment.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <functional>
#include <memory>

namespace plimbo {

class AIChatHistoryStore;
class ChatList;
class FileChooser;
class StoredAttachments;
class TaskExecutor;

// What the next message will carry: the draft text and the pending attachments, with their
// ingestion (choose, prepare and save each file in the background) and a retry's copies of an
// earlier turn's files. Main thread only. One attachment operation (an AttachmentIngestion or
// a RetryAttachmentCopy) runs at a time; cancelling it deletes it, and whatever it still
// delivers is dropped. Per-file failures of one ingestion are reported together through
// failed().
class ChatComposer : public QObject {
    Q_OBJECT

public:
    ChatComposer(std::shared_ptr<AIChatHistoryStore> store, TaskExecutor& executor,
                 StoredAttachments& attachments, const ChatList& chats, FileChooser* chooser,
                 QObject* parent = nullptr);
    ~ChatComposer() override;

    QString input() const { return m_input; }
    void setInput(const QString& input);
    QList<AIChatAttachment> pendingAttachments() const { return m_pending; }
    // The pending attachments now belong to someone else (a sent turn, a preview).
    void setPendingAttachments(const QList<AIChatAttachment>& attachments);
    bool isAdding() const { return m_isAdding; }

    // Opens the file dialog and hands the chosen files (none when the user cancelled) to
    // `closed` once it closes, never before this returns. False, and no dialog, while
    // attachments are added or without a chooser.
    bool choose(std::function<void(const QList<QUrl>&)> closed);
    // Starts reading the files into pending attachments; false (and nothing changes) while
    // attachments are added or for an empty list. Before the history is loaded the files wait
    // and are read once it is.
    bool add(const QList<QUrl>& fileURLs);
    // Text typed, files pending or waiting for the history.
    bool hasDraft() const;
    void removePending(const QUuid& id);
    // Drops every pending attachment with its file, and the files waiting for the history.
    void clearPending();
    // Abandons the running operation; what it still delivers is dropped (copies a retry put in
    // the draft are taken back once their images are decoded).
    void cancelOperation();
    // Copies `originals` into new pending attachments (all or none), then calls `ready` once
    // their images are decoded, unless the copy was cancelled meanwhile.
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
    void begin(std::unique_ptr<QObject> operation);
    // Called from the operation's own signal: it goes once that signal returns.
    void end();
    void takeBack(const QList<AIChatAttachment>& copies);
    void setIsAdding(bool adding);

    std::shared_ptr<AIChatHistoryStore> m_store;
    TaskExecutor& m_executor;
    StoredAttachments& m_attachments;
    const ChatList& m_chats;
    FileChooser* m_chooser;

    QString m_input;
    QList<AIChatAttachment> m_pending;
    QList<QUrl> m_waiting;
    bool m_isAdding = false;
    std::unique_ptr<QObject> m_operation;
};

} // namespace plimbo
