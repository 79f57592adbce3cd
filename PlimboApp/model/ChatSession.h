#pragma once

#include "AIChatAttachment.h"
#include "AIChatTurn.h"
#include "AIChatTurnState.h"
#include "AIUsage.h"
#include "ChatStatus.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

namespace plimbo {

class AIStreamingClient;
class ChatComposer;
class ChatList;
class ChatReply;
class Clock;
class Pasteboard;
class StoredAttachments;

// The assistant's conversation: sends the composer's message as a new turn of the selected
// chat, streams the reply into it, stops, retries, and moves between chats (new, select,
// delete). Main thread only. One request is in flight at a time; its id is the id of the turn
// it fills, and the one routine that ends a request ignores every id but the current one, so
// stopping, re-sending and late events never touch the wrong turn. A failure the user must see
// is reported through failed().
class ChatSession : public QObject {
    Q_OBJECT

public:
    // Earlier turns sent along with a new one.
    static constexpr qsizetype priorTurnsPerRequest = 8;
    // Builds the request that fills the turn with this id.
    using ReplyFactory = std::function<std::unique_ptr<ChatReply>(const QUuid& requestID)>;

    ChatSession(ChatList& chats, ChatComposer& composer, StoredAttachments& attachments,
                const Clock& clock, ReplyFactory makeReply, std::weak_ptr<AIStreamingClient> client,
                Pasteboard* pasteboard, QObject* parent = nullptr);
    ~ChatSession() override;

    QString output() const { return m_output; }
    void setOutput(const QString& output);
    ChatStatus status() const { return m_status; }
    void setStatus(ChatStatus status);
    std::optional<AIUsage> usage() const { return m_usage; }
    bool isGenerating() const { return m_isGenerating; }

    void send();
    void stop();
    // Stops, drops the draft's attachments and shows no chat.
    void newChat();
    void selectChat(const QUuid& id);
    void deleteChat(const QUuid& id);
    void copyMessage(const QString& text);
    // Copies the turn's attachments and sends its prompt again; nothing while a reply is
    // generated or attachments are added.
    void retry(const AIChatTurn& turn);

    // The prompt of a message that has attachments and no text.
    static QString defaultPrompt(const QList<AIChatAttachment>& attachments);

signals:
    void outputChanged();
    void statusChanged();
    void usageChanged();
    void isGeneratingChanged();
    void failed(const QString& message);

private:
    void appendResponse(const QString& text, const QUuid& requestID, const QUuid& chatID);
    void endStream(bool finishEventSeen, const QUuid& requestID, const QUuid& chatID);
    void finishRequest(const QUuid& requestID, const QUuid& chatID, AIChatTurnState state,
                       const std::optional<QString>& failureMessage);
    // No chat selected: no turns, and an empty draft, reply and usage.
    void showNoChat();
    void setUsage(const std::optional<AIUsage>& usage);
    void setIsGenerating(bool generating);

    ChatList& m_chats;
    ChatComposer& m_composer;
    StoredAttachments& m_attachments;
    const Clock& m_clock;
    ReplyFactory m_makeReply;
    std::weak_ptr<AIStreamingClient> m_client;
    Pasteboard* m_pasteboard;

    QString m_output;
    ChatStatus m_status;
    std::optional<AIUsage> m_usage;
    bool m_isGenerating = false;
    std::unique_ptr<ChatReply> m_reply;
    std::optional<QUuid> m_currentRequestID;
    std::optional<QUuid> m_currentRequestChatID;
};

} // namespace plimbo
