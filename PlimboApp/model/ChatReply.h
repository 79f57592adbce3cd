#pragma once

#include "AIChatTurn.h"
#include "AIChatTurnState.h"
#include "AIMessage.h"
#include "AIUsage.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>

#include <memory>
#include <optional>

namespace plimbo {

class AIChatHistoryStore;
class AIStreamingClient;
class KeychainService;
class TaskExecutor;

// One chat request, from building its messages (attachments read off the main thread) and
// reading the API key afresh, to the streamed reply. Main thread only. Stopping it is deleting
// it: every continuation and stream connection is owned by this object, so nothing it was
// waiting for is sent or reported afterwards. It reports the reply through textReceived() and
// usageReceived(), then exactly one of streamFinished() or ended().
class ChatReply : public QObject {
    Q_OBJECT

public:
    // The model every request asks for, and its temperature.
    static inline const QString requestModel = QStringLiteral("openrouter/auto");
    static constexpr double requestTemperature = 0.4;

    ChatReply(const QUuid& requestID, std::shared_ptr<AIChatHistoryStore> store,
              std::shared_ptr<KeychainService> keychain, AIStreamingClient& client,
              TaskExecutor& executor, QObject* parent = nullptr);

    QUuid requestID() const { return m_requestID; }
    // Sends `turn` after `priorTurns`.
    void start(const QList<AIChatTurn>& priorTurns, const AIChatTurn& turn);

signals:
    void textReceived(const QString& text);
    void usageReceived(const plimbo::AIUsage& usage);
    // The stream ended normally; whether it delivered its finish event decides, with the text
    // received, how the turn ends.
    void streamFinished(bool finishEventSeen);
    // The request ended before or while streaming: stopped (no failure text) or failed.
    void ended(plimbo::AIChatTurnState state, const std::optional<QString>& failureMessage);

private:
    void readKey(const QList<AIMessage>& messages);
    void stream(const QList<AIMessage>& messages, const QString& apiKey);

    QUuid m_requestID;
    std::shared_ptr<AIChatHistoryStore> m_store;
    std::shared_ptr<KeychainService> m_keychain;
    AIStreamingClient& m_client;
    TaskExecutor& m_executor;
    bool m_finishEventSeen = false;
};

} // namespace plimbo
