#include "AppModelHarness.h"
#include "LocalHttpServer.h"
#include "OpenRouterClient.h"
#include "OpenRouterStreamingClient.h"
#include "ThreadPoolTaskExecutor.h"

#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>

using namespace plimbo;
using namespace plimbo::test;
using namespace std::chrono_literals;

namespace {

const QString kUnreadable = QStringLiteral("Plimbo could not read the OpenRouter response.");
const QString kTimedOut = QStringLiteral("The OpenRouter request timed out.");

const QByteArray kHello = R"(data: {"choices":[{"delta":{"content":"Hello "}}]})"
                          "\n\n";
const QByteArray kWorld = R"(data: {"choices":[{"delta":{"content":"world"}}]})"
                          "\n\n";

// The real client, pointed at whichever address the test chooses before each send, as if the
// network in between changed.
class SwitchableClient : public AIStreamingClient {
public:
    std::shared_ptr<OpenRouterStreamingClient> target;

    void pointAt(const QUrl& baseUrl, std::chrono::milliseconds inactivity = 5s) {
        OpenRouterClient::Timeouts timeouts;
        timeouts.chat = inactivity;
        target = std::make_shared<OpenRouterStreamingClient>(
            std::make_shared<OpenRouterClient>(baseUrl, timeouts));
    }
    AIResponseStream* stream(const AIRequest& request, const QString& apiKey) override {
        return target->stream(request, apiKey);
    }
    void cancel(const QUuid& requestID) override { target->cancel(requestID); }
};

// Accepts connections and answers each with fixed bytes, then closes: for replies that are
// not HTTP at all.
class RawServer : public QObject {
public:
    explicit RawServer(QByteArray answer)
        : m_answer(std::move(answer)) {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    socket->readAll();
                    socket->write(m_answer);
                    socket->disconnectFromHost();
                });
            }
        });
        m_server.listen(QHostAddress::LocalHost, 0);
    }
    quint16 port() const { return m_server.serverPort(); }

private:
    QTcpServer m_server;
    QByteArray m_answer;
};

class AppModelNetworkFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.storeKey(QStringLiteral("sk-or-test"));
        AppModelDependencies dependencies = h.dependencies();
        dependencies.executor = std::make_shared<ThreadPoolTaskExecutor>();
        dependencies.aiClient = client;
        model = std::make_unique<AppModel>(std::move(dependencies));
        // Nothing is sent before the history has loaded.
        ASSERT_TRUE(settle([&] { return model->isAIHistoryLoaded(); }));
    }

    // Sends and waits for the turn to end.
    void sendAndWait(const QString& prompt) {
        model->setAiInput(prompt);
        model->sendAI();
        ASSERT_TRUE(model->isGenerating());
        ASSERT_TRUE(settle([&] { return !model->isGenerating(); }));
    }

    // The turn failed with `message`, keeping `kept`, in memory and on disk.
    void expectFailed(const QString& message, const QString& kept) {
        const AIChatTurn turn = model->aiConversation().last();
        EXPECT_EQ(turn.state, AIChatTurnState::failed);
        EXPECT_EQ(turn.failureMessage, message);
        EXPECT_EQ(turn.response, kept);
        EXPECT_EQ(model->aiStatus(), ChatStatus::failed);
        EXPECT_EQ(model->presentedError(), message);
        const AIChatTurn stored = h.readHistory().first().turns.last();
        EXPECT_EQ(stored.state, AIChatTurnState::failed);
        EXPECT_EQ(stored.response, kept);
        EXPECT_EQ(stored.failureMessage, message);
    }

    // The next send, to a healthy service, completes and keeps the failed turn before it.
    void expectNextSendWorks(const QString& failedResponse) {
        model->setPresentedError(std::nullopt);
        client->pointAt(healthy.baseUrl());
        sendAndWait(QStringLiteral("Again"));
        EXPECT_EQ(model->aiStatus(), ChatStatus::done);
        EXPECT_EQ(model->aiOutput(), "fine");
        EXPECT_FALSE(model->presentedError().has_value());
        const QList<AIChatTurn> turns = h.readHistory().first().turns;
        ASSERT_EQ(turns.size(), 2);
        EXPECT_EQ(turns[0].state, AIChatTurnState::failed);
        EXPECT_EQ(turns[0].response, failedResponse);
        EXPECT_EQ(turns[1].state, AIChatTurnState::completed);
        EXPECT_EQ(turns[1].response, "fine");
    }

    LocalHttpServer healthy{[](const LocalHttpServer::Request&) {
        return LocalHttpServer::eventStream({R"(data: {"choices":[{"delta":{"content":"fine"}}]})"
                                             "\n\ndata: [DONE]\n\n"});
    }};
    std::shared_ptr<SwitchableClient> client = std::make_shared<SwitchableClient>();
    AppModelHarness h;
    std::unique_ptr<AppModel> model;
};

} // namespace

// In chunks, as the service sends its streams, so the reset comes before the body's last chunk.
TEST_F(AppModelNetworkFailureTest, ConnectionResetAfterSomeTextKeepsTheText) {
    LocalHttpServer server([](const LocalHttpServer::Request&) {
        LocalHttpServer::Response response;
        response.head = "HTTP/1.1 200 OK\r\nContent-Type: text/event-stream\r\n"
                        "Transfer-Encoding: chunked\r\n\r\n";
        for (const QByteArray& piece : {kHello, kWorld}) {
            response.pieces.append(QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n");
        }
        response.interval = 50ms;
        response.resetAfterLastPiece = true;
        return response;
    });
    client->pointAt(server.baseUrl());
    sendAndWait(QStringLiteral("Hi"));
    expectFailed(kUnreadable, QStringLiteral("Hello world"));
    expectNextSendWorks(QStringLiteral("Hello world"));
}

TEST_F(AppModelNetworkFailureTest, RefusedConnectionFailsTheTurn) {
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    client->pointAt(QUrl(QStringLiteral("http://127.0.0.1:%1/api/v1").arg(closedPort)));
    sendAndWait(QStringLiteral("Hi"));
    expectFailed(kUnreadable, QString());
    expectNextSendWorks(QString());
}

TEST_F(AppModelNetworkFailureTest, StallAfterTheFirstWordsTimesOutAndKeepsThem) {
    LocalHttpServer server([](const LocalHttpServer::Request&) {
        LocalHttpServer::Response response = LocalHttpServer::eventStream({kHello});
        response.keepOpen = true;
        return response;
    });
    client->pointAt(server.baseUrl(), 300ms);
    sendAndWait(QStringLiteral("Hi"));
    expectFailed(kTimedOut, QStringLiteral("Hello "));
    // The stalled connection is given up, not left hanging.
    EXPECT_TRUE(settle([&] { return server.openConnections() == 0; }));
    expectNextSendWorks(QStringLiteral("Hello "));
}

TEST_F(AppModelNetworkFailureTest, TlsFailureFailsTheTurn) {
    // Plain HTTP where the client expects a TLS handshake.
    RawServer plain("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
    client->pointAt(QUrl(QStringLiteral("https://127.0.0.1:%1/api/v1").arg(plain.port())));
    sendAndWait(QStringLiteral("Hi"));
    expectFailed(kUnreadable, QString());
    expectNextSendWorks(QString());
}

TEST_F(AppModelNetworkFailureTest, ReplyWithoutAnHttpStatusFailsTheTurn) {
    RawServer garbage("hello, this is not HTTP\r\n\r\n");
    client->pointAt(QUrl(QStringLiteral("http://127.0.0.1:%1/api/v1").arg(garbage.port())));
    sendAndWait(QStringLiteral("Hi"));
    expectFailed(kUnreadable, QString());
    expectNextSendWorks(QString());
}
