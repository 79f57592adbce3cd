#include "ChatReply.h"

#include "AIChatHistoryStore.h"
#include "AIRequest.h"
#include "AIResponseStream.h"
#include "AIStreamingClient.h"
#include "ChatRequestBuilder.h"
#include "FailureText.h"
#include "KeychainService.h"
#include "MainThreadContinuation.h"
#include "OpenRouterError.h"
#include "TaskExecutor.h"

namespace plimbo {

ChatReply::ChatReply(const QUuid& requestID, std::shared_ptr<AIChatHistoryStore> store,
                     std::shared_ptr<KeychainService> keychain, AIStreamingClient& client,
                     TaskExecutor& executor, QObject* parent)
    : QObject(parent)
    , m_requestID(requestID)
    , m_store(std::move(store))
    , m_keychain(std::move(keychain))
    , m_client(client)
    , m_executor(executor) {}

void ChatReply::start(const QList<AIChatTurn>& priorTurns, const AIChatTurn& turn) {
    const std::shared_ptr<AIChatHistoryStore> store = m_store;
    const QFuture<QList<AIMessage>> building = runInBackground(
        m_executor, TaskExecutor::Priority::userInitiated, [store, priorTurns, turn] {
            return ChatRequestBuilder::requestMessages(priorTurns, turn, *store);
        });
    whenFinished(building, this, [this](const QFuture<QList<AIMessage>>& done) {
        std::optional<QList<AIMessage>> messages;
        try {
            messages = resultOf(done);
        } catch (...) {
            emit ended(AIChatTurnState::failed, describeFailure(std::current_exception()));
            return;
        }
        if (!messages) {
            emit ended(AIChatTurnState::stopped, std::nullopt);
            return;
        }
        readKey(*messages);
    });
}

void ChatReply::readKey(const QList<AIMessage>& messages) {
    // Read afresh for every request; the keyring may block, so not on the main thread.
    const std::shared_ptr<KeychainService> keychain = m_keychain;
    const QFuture<std::optional<QString>> reading =
        runInBackground(m_executor, TaskExecutor::Priority::userInitiated,
                        [keychain] { return keychain->read(KeychainService::openRouterAccount); });
    whenFinished(reading, this, [this, messages](const QFuture<std::optional<QString>>& done) {
        std::optional<std::optional<QString>> key;
        try {
            key = resultOf(done);
        } catch (...) {
            emit ended(AIChatTurnState::failed, describeFailure(std::current_exception()));
            return;
        }
        if (!key) {
            emit ended(AIChatTurnState::stopped, std::nullopt);
            return;
        }
        if (!*key) {
            emit ended(AIChatTurnState::failed, OpenRouterError::missingCredential().description());
            return;
        }
        stream(messages, **key);
    });
}

void ChatReply::stream(const QList<AIMessage>& messages, const QString& apiKey) {
    const AIRequest request{m_requestID, requestModel, messages, requestTemperature, std::nullopt};
    AIResponseStream* stream = nullptr;
    try {
        stream = m_client.stream(request, apiKey);
    } catch (...) {
        emit ended(AIChatTurnState::failed, describeFailure(std::current_exception()));
        return;
    }
    connect(stream, &AIResponseStream::eventReceived, this, [this](const AIStreamEvent& event) {
        switch (event.kind) {
        case AIStreamEvent::Kind::text:
            emit textReceived(event.text);
            break;
        case AIStreamEvent::Kind::usage:
            emit usageReceived(event.usage);
            break;
        case AIStreamEvent::Kind::finished:
            m_finishEventSeen = true;
            break;
        case AIStreamEvent::Kind::metadata:
            break;
        }
    });
    connect(stream, &AIResponseStream::finished, this,
            [this] { emit streamFinished(m_finishEventSeen); });
    connect(stream, &AIResponseStream::failed, this, [this](const OpenRouterError& error) {
        if (error.kind() == OpenRouterError::Kind::cancelled) {
            emit ended(AIChatTurnState::stopped, std::nullopt);
        } else {
            emit ended(AIChatTurnState::failed, error.description());
        }
    });
}

} // namespace plimbo
