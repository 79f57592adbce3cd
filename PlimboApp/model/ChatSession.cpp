#include "ChatSession.h"

#include "AIStreamingClient.h"
#include "ChatComposer.h"
#include "ChatList.h"
#include "ChatReply.h"
#include "Clock.h"
#include "Pasteboard.h"
#include "PropertyAssign.h"
#include "StoredAttachments.h"

#include <QCoreApplication>

#include <algorithm>

namespace plimbo {

ChatSession::ChatSession(ChatList& chats, ChatComposer& composer, StoredAttachments& attachments,
                         const Clock& clock, ReplyFactory makeReply,
                         std::weak_ptr<AIStreamingClient> client, Pasteboard* pasteboard,
                         QObject* parent)
    : QObject(parent)
    , m_chats(chats)
    , m_composer(composer)
    , m_attachments(attachments)
    , m_clock(clock)
    , m_makeReply(std::move(makeReply))
    , m_client(std::move(client))
    , m_pasteboard(pasteboard)
    , m_status(m_chats.isLoaded() ? ChatStatus::ready : ChatStatus::loadingHistory) {
    connect(&m_chats, &ChatList::isLoadedChanged, this, [this] {
        const QList<AIChatTurn> turns = m_chats.conversation();
        if (m_output.isEmpty() && !turns.isEmpty()) {
            setOutput(turns.last().response);
        }
        if (m_status == ChatStatus::loadingHistory) {
            setStatus(ChatStatus::ready);
        }
    });
    // A draft begun while the history loads belongs to the chat on screen, not to the newest
    // stored one.
    const auto draftBegun = [this] {
        if (!m_chats.isLoaded() && m_composer.hasDraft()) {
            m_chats.keepSelection();
        }
    };
    connect(&m_composer, &ChatComposer::inputChanged, this, draftBegun);
    connect(&m_composer, &ChatComposer::filesWaiting, this, draftBegun);
    connect(&m_composer, &ChatComposer::attachingStarted, this,
            [this] { setStatus(ChatStatus::attaching); });
    connect(&m_composer, &ChatComposer::attachingEnded, this, [this] {
        if (m_status == ChatStatus::attaching) {
            setStatus(ChatStatus::ready);
        }
    });
    connect(&m_composer, &ChatComposer::attachmentsAdded, this,
            [this] { setStatus(ChatStatus::ready); });
}

// Out of line: ChatReply is complete here.
ChatSession::~ChatSession() = default;

void ChatSession::setOutput(const QString& output) {
    assign(this, m_output, output, &ChatSession::outputChanged);
}

void ChatSession::setStatus(ChatStatus status) {
    assign(this, m_status, status, &ChatSession::statusChanged);
}

void ChatSession::setUsage(const std::optional<AIUsage>& usage) {
    assign(this, m_usage, usage, &ChatSession::usageChanged);
}

void ChatSession::setIsGenerating(bool generating) {
    assign(this, m_isGenerating, generating, &ChatSession::isGeneratingChanged);
}

// ---------------------------------------------------------------- one request

void ChatSession::send() {
    // The draft stays: a send before the history is published would save over the file
    // (the status says why nothing happened).
    if (!m_chats.isLoaded()) {
        return;
    }
    if (m_composer.isAdding()) {
        emit failed(QStringLiteral("Wait for the attachment to finish loading."));
        return;
    }
    const QList<AIChatAttachment> attachments = m_composer.pendingAttachments();
    QString prompt = m_composer.input().trimmed();
    if (prompt.isEmpty()) {
        if (attachments.isEmpty()) {
            emit failed(QStringLiteral("Add a message or attachment for the assistant."));
            return;
        }
        prompt = defaultPrompt(attachments);
    }
    if (m_isGenerating) {
        stop();
    }
    m_chats.ensureSelected(prompt);

    const QUuid requestID = QUuid::createUuid();
    const QUuid chatID = *m_chats.selectedID();
    m_currentRequestID = requestID;
    m_currentRequestChatID = chatID;

    const QList<AIChatTurn> conversation = m_chats.conversation();
    const QList<AIChatTurn> priorTurns =
        conversation.mid(std::max<qsizetype>(0, conversation.size() - priorTurnsPerRequest));
    const AIChatTurn turn(requestID, prompt, QString(), m_clock.now(), AIChatTurnState::streaming,
                          attachments);
    m_chats.showNewTurn(turn);

    // Their files belong to the turn now.
    m_composer.setPendingAttachments({});
    m_chats.syncSelected(true);

    m_composer.setInput(QString());
    setOutput(QString());
    setUsage(std::nullopt);
    setStatus(ChatStatus::thinking);
    setIsGenerating(true);

    m_reply = m_makeReply(requestID);
    connect(m_reply.get(), &ChatReply::textReceived, this,
            [this, requestID, chatID](const QString& text) {
                appendResponse(text, requestID, chatID);
            });
    connect(m_reply.get(), &ChatReply::usageReceived, this,
            [this, requestID](const AIUsage& usage) {
                if (m_currentRequestID == requestID) {
                    setUsage(usage);
                }
            });
    connect(m_reply.get(), &ChatReply::streamFinished, this,
            [this, requestID, chatID](bool finishEventSeen) {
                endStream(finishEventSeen, requestID, chatID);
            });
    connect(m_reply.get(), &ChatReply::ended, this,
            [this, requestID, chatID](AIChatTurnState state,
                                      const std::optional<QString>& failureMessage) {
                finishRequest(requestID, chatID, state, failureMessage);
            });
    m_reply->start(priorTurns, turn);
}

void ChatSession::stop() {
    if (!m_currentRequestID || !m_currentRequestChatID) {
        return;
    }
    const QUuid requestID = *m_currentRequestID;
    const QUuid chatID = *m_currentRequestChatID;
    // Whatever the request was waiting for (messages, key, stream) now reaches nobody.
    m_reply.reset();
    // The client's clean-up runs later, so that it never delays the views. The queued call
    // must not own the client: a QObject destroyed along with a posted event at shutdown
    // would deadlock on the event queue.
    const std::weak_ptr<AIStreamingClient> client = m_client;
    QMetaObject::invokeMethod(
        qApp,
        [client, requestID] {
            if (const std::shared_ptr<AIStreamingClient> live = client.lock()) {
                live->cancel(requestID);
            }
        },
        Qt::QueuedConnection);
    finishRequest(requestID, chatID, AIChatTurnState::stopped, std::nullopt);
}

void ChatSession::appendResponse(const QString& text, const QUuid& requestID, const QUuid& chatID) {
    // Only the request in flight writes: a finished turn (stopped, failed, replaced) never
    // grows again nor goes back to streaming.
    if (m_currentRequestID != requestID) {
        return;
    }
    const bool changed = m_chats.updateTurn(
        chatID, requestID,
        [&](AIChatTurn& turn) {
            turn.response += text;
            turn.state = AIChatTurnState::streaming;
        },
        false);
    if (!changed) {
        return;
    }
    if (m_chats.selectedID() == chatID) {
        setOutput(m_chats.response(requestID, chatID));
    }
    setStatus(ChatStatus::writing);
}

void ChatSession::endStream(bool finishEventSeen, const QUuid& requestID, const QUuid& chatID) {
    if (finishEventSeen || !m_chats.response(requestID, chatID).isEmpty()) {
        finishRequest(requestID, chatID, AIChatTurnState::completed, std::nullopt);
    } else {
        finishRequest(requestID, chatID, AIChatTurnState::failed,
                      QStringLiteral("No text was returned."));
    }
}

void ChatSession::finishRequest(const QUuid& requestID, const QUuid& chatID, AIChatTurnState state,
                                const std::optional<QString>& failureMessage) {
    // Only the current request ends here; a stopped or superseded one has already ended.
    if (m_currentRequestID != requestID) {
        return;
    }
    const bool changed = m_chats.updateTurn(
        chatID, requestID,
        [&](AIChatTurn& turn) {
            turn.state = state;
            turn.failureMessage = failureMessage;
        },
        true);
    if (changed) {
        if (m_chats.selectedID() == chatID) {
            setOutput(m_chats.response(requestID, chatID));
        }
        m_chats.persist();
    }

    const bool hasText = !m_chats.response(requestID, chatID).isEmpty();
    m_currentRequestID.reset();
    m_currentRequestChatID.reset();
    if (m_reply) {
        // Ended from one of its own signals: it goes once that signal returns.
        m_reply->disconnect(this);
        m_reply.release()->deleteLater();
    }
    setIsGenerating(false);

    switch (state) {
    case AIChatTurnState::completed:
        setStatus(hasText ? ChatStatus::done : ChatStatus::noText);
        break;
    case AIChatTurnState::stopped:
        setStatus(ChatStatus::stopped);
        break;
    case AIChatTurnState::failed:
        setStatus(ChatStatus::failed);
        if (failureMessage) {
            emit failed(*failureMessage);
        }
        break;
    case AIChatTurnState::streaming:
        break;
    }
}

// ---------------------------------------------------------------- moving between chats

void ChatSession::newChat() {
    stop();
    m_composer.cancelOperation();
    m_composer.clearPending();
    showNoChat();
}

void ChatSession::showNoChat() {
    m_chats.showNone();
    m_composer.setInput(QString());
    setOutput(QString());
    setUsage(std::nullopt);
    setStatus(m_chats.isLoaded() ? ChatStatus::ready : ChatStatus::loadingHistory);
}

void ChatSession::selectChat(const QUuid& id) {
    if (m_chats.selectedID() == id || m_chats.indexOf(id) < 0) {
        return;
    }
    stop();
    m_composer.cancelOperation();
    m_composer.clearPending();
    if (!m_chats.show(id)) {
        return;
    }
    const QList<AIChatTurn> turns = m_chats.conversation();
    m_composer.setInput(QString());
    setOutput(turns.isEmpty() ? QString() : turns.last().response);
    setUsage(std::nullopt);
    setStatus(ChatStatus::ready);
    m_attachments.preload(ChatList::attachmentsOf(turns));
}

void ChatSession::deleteChat(const QUuid& id) {
    if (m_chats.selectedID() == id) {
        stop();
        m_composer.cancelOperation();
        showNoChat();
    }
    m_chats.remove(id);
    if (!m_chats.selectedID() && !m_chats.chats().isEmpty()) {
        selectChat(m_chats.chats().first().id);
    }
}

void ChatSession::copyMessage(const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    if (m_pasteboard) {
        m_pasteboard->writeText(text);
    }
    setStatus(ChatStatus::copied);
}

void ChatSession::retry(const AIChatTurn& turn) {
    if (m_isGenerating || m_composer.isAdding() || !m_chats.isLoaded()) {
        return;
    }
    m_composer.clearPending();
    m_composer.copyForRetry(turn.attachments, [this, prompt = turn.prompt] {
        m_composer.setInput(prompt);
        send();
    });
}

QString ChatSession::defaultPrompt(const QList<AIChatAttachment>& attachments) {
    if (attachments.size() == 1) {
        return QStringLiteral("Describe and analyze the attached file: ") +
               attachments.first().name;
    }
    return QStringLiteral("Describe and analyze these %1 attached files.").arg(attachments.size());
}

} // namespace plimbo
