#pragma once

#include "AIChatAttachment.h"
#include "AIChatSession.h"
#include "AIChatTurn.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

namespace plimbo {

class AIChatHistoryStore;
class Clock;
class StoredAttachments;
class TaskExecutor;

// The chat history: every chat, the selected one and its turns, loading and repairing the
// history file, the history limits and saving. Main thread only. Files of turns and chats that
// leave the list are handed to StoredAttachments for deletion. A history that could not be read
// is never overwritten when it could not be moved aside either (saving stays off for the run);
// a save that fails is reported through failed().
class ChatList : public QObject {
    Q_OBJECT

public:
    // History limits, applied at load and after every request.
    static constexpr qsizetype maximumChats = 100;
    static constexpr qsizetype maximumTurnsPerChat = 100;
    // A chat title longer than this is cut.
    static constexpr qsizetype maximumTitleLength = 44;

    ChatList(std::shared_ptr<AIChatHistoryStore> store, const Clock& clock,
             StoredAttachments& attachments, QObject* parent = nullptr);

    // Reads the history file in the background, repairs it (limits, replies cut off by a quit,
    // chats that share an id; a repaired file is saved back at once), deletes the attachment
    // files no stored turn refers to, then publishes the chats along with any made meanwhile
    // (saving them all when there were such) and selects the newest one, unless the user has
    // started or chosen a chat since. An unreadable file is moved aside (reported through
    // failed()) and nothing is cleaned up. Runs once.
    void load(TaskExecutor& executor);
    // False until the history is published: nothing may be sent, attached or saved before,
    // or the file would be written over with a list that lacks what it holds.
    bool isLoaded() const { return m_isLoaded; }
    // Nothing of this run reaches the history file any more (an unreadable file that stayed
    // in place).
    void disableSaving() { m_canWrite = false; }
    // False once this run's chats can no longer reach the history file.
    bool savesHistory() const { return m_canWrite; }
    // The user started or chose a chat (or began a draft): the load leaves the selection as it
    // is. Selecting, showing no chat and sending imply it.
    void keepSelection() { m_selectionIsUsers = true; }
    // Sample chats of a preview run stand in for the history: saving stops, and the history
    // loaded later is not published over them.
    void useSampleChats();

    QList<AIChatSession> chats() const { return m_chats; }
    std::optional<QUuid> selectedID() const { return m_selectedID; }
    // The turns of the selected chat, as shown (a request's turn appears here first).
    QList<AIChatTurn> conversation() const { return m_conversation; }
    // Shows `turn` after the selected chat's turns; syncSelected() writes it into the chat.
    void showNewTurn(const AIChatTurn& turn);
    // Finds turn `turnID` of chat `chatID`, changes it and the chat's update time, publishes
    // the chats (within the history limits when `applyLimits`) and shows the selected chat's
    // turns again if that chat is selected. False, and nothing changes, when either is gone.
    bool updateTurn(const QUuid& chatID, const QUuid& turnID,
                    const std::function<void(AIChatTurn&)>& change, bool applyLimits);
    // A preview's sample chats (after useSampleChats()), `selected` shown.
    void showSampleChats(const QList<AIChatSession>& chats, const QUuid& selected);
    // A preview's sample turns, shown without a chat.
    void showSampleTurns(const QList<AIChatTurn>& turns);

    qsizetype indexOf(const QUuid& id) const;
    // The reply text of turn `turnID` of chat `chatID`, empty when either is gone.
    QString response(const QUuid& turnID, const QUuid& chatID) const;
    // Applies the history limits to `chats`, publishes them and deletes the files of whatever
    // the limits dropped.
    void publishWithinLimits(QList<AIChatSession> chats);
    // Selects the chat and shows its turns; false when there is no such chat.
    bool show(const QUuid& id);
    // No chat selected and no turns.
    void showNone();
    // Selects a new chat titled after `prompt` unless the selected one still exists.
    void ensureSelected(const QString& prompt);
    // Writes the shown turns into the selected chat, then shows what the limits kept.
    void syncSelected(bool persist);
    // Ignores an empty title and an unknown chat.
    void rename(const QUuid& id, const QString& title);
    // Drops the chat and the files no other chat names, and saves.
    void remove(const QUuid& id);
    void persist();

    // Whitespace runs become one space; longer than maximumTitleLength: cut one short, trimmed,
    // and "…" added.
    static QString chatTitle(const QString& prompt);
    static QList<AIChatAttachment> attachmentsOf(const QList<AIChatTurn>& turns);
    static QSet<QString> referencedAttachmentFileNames(const QList<AIChatSession>& chats,
                                                       const QList<AIChatAttachment>& pending);
    // Keeps the newest turns of each chat and the most recently updated chats (sorted newest
    // first, stable); returns the attachments of everything dropped.
    static QList<AIChatAttachment> applyHistoryLimits(QList<AIChatSession>& chats);

signals:
    void chatsChanged();
    void selectedIDChanged();
    void conversationChanged();
    void isLoadedChanged();
    void failed(const QString& message);

private:
    void setChats(const QList<AIChatSession>& chats);
    void setSelectedID(const std::optional<QUuid>& id);
    void setConversation(const QList<AIChatTurn>& turns);
    // Deletes the files of `attachments` that no chat in the list names any more.
    void removeUnused(const QList<AIChatAttachment>& attachments);

    std::shared_ptr<AIChatHistoryStore> m_store;
    const Clock& m_clock;
    StoredAttachments& m_attachments;
    QList<AIChatSession> m_chats;
    std::optional<QUuid> m_selectedID;
    QList<AIChatTurn> m_conversation;
    bool m_canWrite = true;
    bool m_isLoaded = false;
    bool m_isLoading = false;
    bool m_showsSamples = false;
    bool m_selectionIsUsers = false;
};

} // namespace plimbo
