#include "OpenRouterClient.h"
#include "AITestPrinters.h"
#include "LocalHttpServer.h"
#include "TestSupport.h"
#include "WireEncodingError.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <iterator>

using namespace plimbo;
using plimbo::test::LocalHttpServer;

namespace {

using namespace std::chrono_literals;

struct StreamOutcome {
    QList<AIStreamEvent> events;
    std::optional<OpenRouterError> error;
    bool finished = false;

    bool ended() const { return finished || error.has_value(); }
    QString text() const {
        QString all;
        for (const AIStreamEvent& event : events) {
            if (event.kind == AIStreamEvent::Kind::text) {
                all += event.text;
            }
        }
        return all;
    }
};

std::shared_ptr<StreamOutcome> observe(OpenRouterStream* stream) {
    auto outcome = std::make_shared<StreamOutcome>();
    QObject::connect(stream, &OpenRouterStream::eventReceived,
                     [outcome](const AIStreamEvent& event) { outcome->events.append(event); });
    QObject::connect(stream, &OpenRouterStream::finished, [outcome] { outcome->finished = true; });
    QObject::connect(stream, &OpenRouterStream::failed,
                     [outcome](const OpenRouterError& error) { outcome->error = error; });
    return outcome;
}

// Runs the event loop without the pauses of QTest::qWaitFor, so a server that writes one byte
// per event-loop turn finishes quickly.
bool spinUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    }
    return done();
}

bool waitUntilEnded(const StreamOutcome& outcome, int ms = 5000) {
    return spinUntil([&] { return outcome.ended(); }, ms);
}

AIRequest chatRequest(QList<AIMessage> messages = {AIMessage(AIMessage::Role::user, "Hi")}) {
    AIRequest request;
    request.id = QUuid::createUuid();
    request.model = QStringLiteral("openrouter/auto");
    request.messages = std::move(messages);
    request.temperature = 0.4;
    return request;
}

template <typename T> std::optional<OpenRouterError> futureError(const QFuture<T>& future) {
    if (!plimbo::test::waitFor(future)) {
        ADD_FAILURE() << "future did not finish";
        return std::nullopt;
    }
    try {
        future.result();
    } catch (const OpenRouterError& error) {
        return error;
    }
    return std::nullopt;
}

// The shape of the real service's stream: keep-alive comments, a role chunk, content deltas,
// a finish chunk, a trailing usage chunk without choices, and the end marker.
QList<QByteArray> realServiceLines() {
    return {
        ": OPENROUTER PROCESSING",
        "",
        ": OPENROUTER PROCESSING",
        "",
        R"(data: {"id":"gen-1","provider":"OpenAI","model":"openai/gpt-4o","object":"chat.completion.chunk","created":1,"choices":[{"index":0,"delta":{"role":"assistant","content":""},"finish_reason":null,"native_finish_reason":null,"logprobs":null}]})",
        "",
        R"(data: {"id":"gen-1","model":"openai/gpt-4o","choices":[{"index":0,"delta":{"role":"assistant","content":"Hel"},"finish_reason":null}]})",
        "",
        R"(data: {"id":"gen-1","model":"openai/gpt-4o","choices":[{"index":0,"delta":{"role":"assistant","content":"lo \u00e9"},"finish_reason":null}]})",
        "",
        R"(data: {"id":"gen-1","model":"openai/gpt-4o","choices":[{"index":0,"delta":{"role":"assistant","content":""},"finish_reason":"stop","native_finish_reason":"stop"}]})",
        "",
        R"(data: {"id":"gen-1","model":"openai/gpt-4o","choices":[],"usage":{"prompt_tokens":12,"completion_tokens":3,"total_tokens":15,"cost":0.0001}})",
        "",
        "data: [DONE]",
        "",
    };
}

QByteArray joined(const QList<QByteArray>& lines, const QByteArray& lineEnd) {
    QByteArray bytes;
    for (const QByteArray& line : lines) {
        bytes += line + lineEnd;
    }
    return bytes;
}

QList<AIStreamEvent> realServiceEvents() {
    const auto model = std::optional<QString>(QStringLiteral("openai/gpt-4o"));
    return {
        AIStreamEvent::makeMetadata(model),
        AIStreamEvent::makeMetadata(model),
        AIStreamEvent::makeText("Hel"),
        AIStreamEvent::makeMetadata(model),
        AIStreamEvent::makeText(QString::fromUtf16(u"lo \u00e9")),
        AIStreamEvent::makeMetadata(model),
        AIStreamEvent::makeFinished(QStringLiteral("stop")),
        AIStreamEvent::makeMetadata(model),
        AIStreamEvent::makeUsage(AIUsage{12, 3, 15}),
        AIStreamEvent::makeFinished(std::nullopt),
    };
}

class OpenRouterClientTest : public ::testing::Test {
protected:
    void serve(LocalHttpServer::Handler handler,
               OpenRouterClient::Timeouts timeouts = OpenRouterClient::Timeouts{}) {
        server = std::make_unique<LocalHttpServer>(std::move(handler));
        client = std::make_unique<OpenRouterClient>(server->baseUrl(), timeouts);
    }
    // A server that takes every request and never answers.
    void serveSilence(OpenRouterClient::Timeouts timeouts) {
        serve(
            [](const LocalHttpServer::Request&) {
                LocalHttpServer::Response response;
                response.keepOpen = true;
                return response;
            },
            timeouts);
    }
    void serveStream(const QByteArray& body) {
        serve([body](const LocalHttpServer::Request&) {
            return LocalHttpServer::eventStream({body});
        });
    }
    std::shared_ptr<StreamOutcome> runStream(const AIRequest& request = chatRequest()) {
        auto outcome = observe(client->stream(request, QStringLiteral("sk-test")));
        EXPECT_TRUE(waitUntilEnded(*outcome));
        return outcome;
    }

    std::unique_ptr<LocalHttpServer> server;
    std::unique_ptr<OpenRouterClient> client;
};

TEST_F(OpenRouterClientTest, StreamsTheRealServiceFormatOverEveryLineEndingAndChunking) {
    struct Delivery {
        const char* name;
        QByteArray lineEnd;
        bool oneBytePerWrite;
    };
    const Delivery deliveries[] = {
        {"LF", "\n", false},      {"CRLF", "\r\n", false},      {"CR", "\r", false},
        {"LF bytes", "\n", true}, {"CRLF bytes", "\r\n", true}, {"CR bytes", "\r", true},
    };
    for (const Delivery& delivery : deliveries) {
        SCOPED_TRACE(delivery.name);
        serve([&](const LocalHttpServer::Request&) {
            auto response =
                LocalHttpServer::eventStream({joined(realServiceLines(), delivery.lineEnd)});
            response.oneBytePerWrite = delivery.oneBytePerWrite;
            return response;
        });
        const auto outcome = runStream();
        EXPECT_TRUE(outcome->finished);
        EXPECT_FALSE(outcome->error.has_value());
        EXPECT_EQ(outcome->events, realServiceEvents());
    }
}

TEST_F(OpenRouterClientTest, SendsTheChatRequestWithTrimmedKeyAndExpectedHeaders) {
    serveStream(joined(realServiceLines(), "\n"));
    auto outcome = observe(client->stream(chatRequest(), QStringLiteral("  sk-or-v1-abc\n")));
    ASSERT_TRUE(waitUntilEnded(*outcome));
    ASSERT_EQ(server->requests().size(), 1);
    const LocalHttpServer::Request& sent = server->requests().first();
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.path, "/api/v1/chat/completions");
    EXPECT_EQ(sent.header("Authorization"), "Bearer sk-or-v1-abc");
    EXPECT_EQ(sent.header("Content-Type"), "application/json");
    EXPECT_EQ(sent.header("X-OpenRouter-Title"), "Plimbo");
    const QJsonObject body = QJsonDocument::fromJson(sent.body).object();
    EXPECT_EQ(body.value("stream"), QJsonValue(true));
    EXPECT_EQ(body.value("model").toString(), "openrouter/auto");
    EXPECT_EQ(body.value("temperature").toDouble(), 0.4);
    EXPECT_FALSE(body.contains("plugins"));
    EXPECT_FALSE(body.contains("max_tokens"));
    EXPECT_EQ(body.value("messages").toArray().first().toObject().value("content").toString(),
              "Hi");
}

TEST_F(OpenRouterClientTest, FilePartAnywhereAddsThePdfParserOnce) {
    serveStream(joined(realServiceLines(), "\n"));
    const QList<AIMessage> messages = {
        AIMessage(AIMessage::Role::system, "sys"),
        AIMessage(AIMessage::Role::user,
                  {AIMessage::ContentPart::makeImage("data:image/png;base64,AA")}),
        AIMessage(AIMessage::Role::user,
                  {AIMessage::ContentPart::makeText("read"),
                   AIMessage::ContentPart::makeFile("a.pdf", "data:application/pdf;base64,AA")}),
        AIMessage(AIMessage::Role::user,
                  {AIMessage::ContentPart::makeFile("b.pdf", "data:application/pdf;base64,AA")}),
    };
    runStream(chatRequest(messages));
    ASSERT_EQ(server->requests().size(), 1);
    const QJsonObject body = QJsonDocument::fromJson(server->requests().first().body).object();
    const QJsonArray expected{
        QJsonObject{{"id", "file-parser"}, {"pdf", QJsonObject{{"engine", "cloudflare-ai"}}}}};
    EXPECT_EQ(body.value("plugins").toArray(), expected);
}

TEST_F(OpenRouterClientTest, UnicodeLineSeparatorsStayInsideThePayload) {
    // Raw U+2028, U+2029 and U+0085 inside a JSON string must not break the line.
    serveStream("data: {\"choices\":[{\"delta\":{\"content\":\"a\xe2\x80\xa8"
                "b\xe2\x80\xa9"
                "c\xc2\x85"
                "d\"}}]}\n\ndata: [DONE]");
    const auto outcome = runStream();
    EXPECT_TRUE(outcome->finished);
    EXPECT_EQ(outcome->text(), QString::fromUtf16(u"a\u2028b\u2029c\u0085d"));
}

TEST_F(OpenRouterClientTest, HowTheBodyEndsDecidesTheOutcome) {
    struct Case {
        const char* name;
        QByteArray body;
        QList<AIStreamEvent> events;
        std::optional<OpenRouterError> error;
    };
    const QByteArray text = R"(data: {"choices":[{"delta":{"content":"Hi"}}]})";
    const QByteArray stop = R"(data: {"choices":[{"delta":{},"finish_reason":"stop"}]})";
    const Case cases[] = {
        {"marker without final line break",
         text + "\n\ndata: [DONE]",
         {AIStreamEvent::makeText("Hi"), AIStreamEvent::makeFinished(std::nullopt)},
         std::nullopt},
        {"text then end of body", text + "\n\n", {AIStreamEvent::makeText("Hi")}, std::nullopt},
        {"text as last line without break", text, {AIStreamEvent::makeText("Hi")}, std::nullopt},
        {"finish reason but no text and no marker",
         stop + "\n\n",
         {AIStreamEvent::makeFinished(QStringLiteral("stop"))},
         OpenRouterError::invalidResponse()},
        {"empty body", "", {}, OpenRouterError::invalidResponse()},
        {"empty delta content is not text",
         R"(data: {"choices":[{"delta":{"content":""}}]})"
         "\n",
         {},
         OpenRouterError::invalidResponse()},
        {"malformed data line after text",
         text + "\ndata: {not json}\n" + stop + "\ndata: [DONE]\n",
         {AIStreamEvent::makeText("Hi")},
         OpenRouterError::decodingFailed()},
        {"empty data line", "data:\ndata: [DONE]\n", {}, OpenRouterError::decodingFailed()},
        {"chunk without choices key",
         "data: {\"model\":\"m\"}\n",
         {},
         OpenRouterError::decodingFailed()},
        {"ignored lines only",
         ": ping\nevent: x\n data: [DONE]\nData: [DONE]\n",
         {},
         OpenRouterError::invalidResponse()},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.name);
        serveStream(item.body);
        const auto outcome = runStream();
        EXPECT_EQ(outcome->events, item.events);
        EXPECT_EQ(outcome->error, item.error);
        EXPECT_EQ(outcome->finished, !item.error.has_value());
    }
}

TEST_F(OpenRouterClientTest, MidStreamErrorChunkFailsWithTheProvidersMessageAndKeepsText) {
    const QString longMessage = QString(300, u'x');
    struct Case {
        const char* name;
        QByteArray errorLine;
        OpenRouterError error;
    };
    const Case cases[] = {
        {"error object and finish reason error",
         R"(data: {"model":"m","error":{"code":"server_error","message":"Provider disconnected unexpectedly"},"choices":[{"index":0,"delta":{"content":""},"finish_reason":"error"}]})",
         OpenRouterError::message("Provider disconnected unexpectedly")},
        {"long message is cut",
         R"(data: {"error":{"code":502,"message":")" + longMessage.toUtf8() + R"("},"choices":[]})",
         OpenRouterError::message(QString(240, u'x'))},
        {"finish reason error without explanation",
         R"(data: {"choices":[{"delta":{},"finish_reason":"error"}]})",
         OpenRouterError::invalidResponse()},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.name);
        serveStream(R"(data: {"choices":[{"delta":{"content":"Partial"}}]})"
                    "\n\n" +
                    item.errorLine + "\n\ndata: [DONE]\n\n");
        const auto outcome = runStream();
        EXPECT_FALSE(outcome->finished);
        EXPECT_EQ(outcome->error, item.error);
        EXPECT_EQ(outcome->text(), "Partial");
        for (const AIStreamEvent& event : outcome->events) {
            EXPECT_NE(event.kind, AIStreamEvent::Kind::finished);
        }
    }
}

TEST_F(OpenRouterClientTest, HttpStatusesMapToTheirMessages) {
    struct Case {
        int status;
        QByteArray body;
        QString streamed;
        QString oneShot;
    };
    const QByteArray withMessage = R"({"error":{"message":"Model not found","code":400}})";
    const QString rejected400 = "OpenRouter rejected the request (HTTP 400).";
    const Case cases[] = {
        {400, withMessage, rejected400, "Model not found"},
        {404, "not json", "OpenRouter rejected the request (HTTP 404).",
         "OpenRouter rejected the request (HTTP 404)."},
        {400, "{}", rejected400, rejected400},
        {400, R"({"error":{}})", rejected400, rejected400},
        {401, withMessage, "OpenRouter rejected this API key. Replace it and try again.",
         "OpenRouter rejected this API key. Replace it and try again."},
        {403, withMessage, "OpenRouter rejected this API key. Replace it and try again.",
         "OpenRouter rejected this API key. Replace it and try again."},
        {402, withMessage, "OpenRouter reports that this request needs additional credit.",
         "OpenRouter reports that this request needs additional credit."},
        {408, withMessage, "The OpenRouter request timed out.",
         "The OpenRouter request timed out."},
        {429, withMessage, "OpenRouter is rate limiting requests. Wait a moment and try again.",
         "OpenRouter is rate limiting requests. Wait a moment and try again."},
        {500, withMessage, "OpenRouter is unavailable (HTTP 500).",
         "OpenRouter is unavailable (HTTP 500)."},
        {503, "", "OpenRouter is unavailable (HTTP 503).", "OpenRouter is unavailable (HTTP 503)."},
        {599, "", "OpenRouter is unavailable (HTTP 599).", "OpenRouter is unavailable (HTTP 599)."},
        {600, "", "OpenRouter rejected the request (HTTP 600).",
         "OpenRouter rejected the request (HTTP 600)."},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.status);
        serve([&](const LocalHttpServer::Request&) {
            return LocalHttpServer::status(item.status, item.body);
        });
        const auto outcome = runStream();
        ASSERT_TRUE(outcome->error.has_value());
        EXPECT_EQ(outcome->error->description(), item.streamed);
        EXPECT_TRUE(outcome->events.isEmpty());

        const auto error = futureError(client->complete(chatRequest(), "sk-test"));
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->description(), item.oneShot);
    }
}

TEST_F(OpenRouterClientTest, CancelStopsTheStreamAndClosesTheConnectionQuickly) {
    serve([](const LocalHttpServer::Request&) {
        auto response =
            LocalHttpServer::eventStream({R"(data: {"choices":[{"delta":{"content":"Hi"}}]})"
                                          "\n\n"});
        response.keepOpen = true;
        return response;
    });
    const AIRequest request = chatRequest();
    auto outcome = observe(client->stream(request, "sk-test"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !outcome->events.isEmpty(); }, 5000));
    ASSERT_EQ(server->openConnections(), 1);

    client->cancel(QUuid::createUuid()); // unknown id: nothing happens
    QTest::qWait(20);
    EXPECT_FALSE(outcome->ended());

    client->cancel(request.id);
    EXPECT_FALSE(outcome->ended()); // the final signal comes from the event loop
    ASSERT_TRUE(waitUntilEnded(*outcome, 1000));
    EXPECT_EQ(outcome->error, OpenRouterError::cancelled());
    EXPECT_EQ(outcome->text(), "Hi");
    EXPECT_TRUE(QTest::qWaitFor([&] { return server->openConnections() == 0; }, 1000));
}

TEST_F(OpenRouterClientTest, InactivityTimesOutButSteadyTrickleDoesNot) {
    OpenRouterClient::Timeouts timeouts;
    timeouts.chat = 800ms;
    serve(
        [](const LocalHttpServer::Request& request) {
            if (request.body.contains("stall")) {
                auto response = LocalHttpServer::eventStream(
                    {R"(data: {"choices":[{"delta":{"content":"Hi"}}]})"
                     "\n\n"});
                response.keepOpen = true;
                return response;
            }
            // Ten pieces 100 ms apart: longer than the timeout in total, never idle for long.
            QList<QByteArray> pieces;
            for (int i = 0; i < 10; ++i) {
                pieces.append(R"(data: {"choices":[{"delta":{"content":"x"}}]})"
                              "\n\n");
            }
            pieces.append("data: [DONE]\n\n");
            auto response = LocalHttpServer::eventStream(pieces);
            response.interval = 100ms;
            return response;
        },
        timeouts);

    const auto steady = runStream();
    EXPECT_TRUE(steady->finished);
    EXPECT_EQ(steady->text(), QString(10, u'x'));

    const auto stalled = runStream(chatRequest({AIMessage(AIMessage::Role::user, "stall")}));
    EXPECT_EQ(stalled->error, OpenRouterError::timedOut());
    EXPECT_EQ(stalled->text(), "Hi");
    EXPECT_TRUE(QTest::qWaitFor([&] { return server->openConnections() == 0; }, 1000));
}

TEST_F(OpenRouterClientTest, UnusableKeysAreRefusedBeforeAnythingIsSent) {
    serveStream(joined(realServiceLines(), "\n"));
    struct Case {
        QString key;
        QString description;
    };
    const QString control =
        "The OpenRouter API key contains a control character. Replace it in Settings.";
    static constexpr char16_t withNul[] = u"sk-or\u0000-v1";
    const Case cases[] = {
        {"", "Add an OpenRouter API key in Settings."},
        {" \t\n", "Add an OpenRouter API key in Settings."},
        {"sk-or-v1-abc\r\nX-Injected: 1", control},
        {QString::fromUtf16(withNul, std::size(withNul) - 1), control},
        {QString::fromUtf16(u"sk-or\u007f-v1"), control},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.key.toStdString());
        try {
            client->stream(chatRequest(), item.key);
            ADD_FAILURE() << "stream accepted the key";
        } catch (const OpenRouterError& error) {
            EXPECT_EQ(error.description(), item.description);
        }
        auto completion = futureError(client->complete(chatRequest(), item.key));
        ASSERT_TRUE(completion.has_value());
        EXPECT_EQ(completion->description(), item.description);
        auto catalogue = futureError(client->fetchModels(item.key));
        ASSERT_TRUE(catalogue.has_value());
        EXPECT_EQ(catalogue->description(), item.description);
    }
    QTest::qWait(50);
    EXPECT_TRUE(server->requests().isEmpty());
}

TEST_F(OpenRouterClientTest, NonFiniteTemperatureIsAnEncodingError) {
    serveStream(joined(realServiceLines(), "\n"));
    AIRequest request = chatRequest();
    request.temperature = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(client->stream(request, "sk-test"), WireEncodingError);
    QTest::qWait(50);
    EXPECT_TRUE(server->requests().isEmpty());
}

TEST_F(OpenRouterClientTest, CompleteReadsTheFirstChoice) {
    struct Case {
        const char* name;
        QByteArray body;
        std::optional<AIResponse> response;
        std::optional<OpenRouterError> error;
    };
    const Case cases[] = {
        {"full answer",
         R"({"id":"gen-9","model":"m","choices":[{"message":{"role":"assistant","content":"Yes"},"finish_reason":"stop"},{"message":{"content":"No"}}],"usage":{"prompt_tokens":1,"total_tokens":4}})",
         AIResponse{"gen-9", "m", "Yes", QStringLiteral("stop"), AIUsage{1, std::nullopt, 4}},
         std::nullopt},
        {"no content", R"({"id":"a","model":"m","choices":[{"message":{}}]})",
         AIResponse{"a", "m", "", std::nullopt, std::nullopt}, std::nullopt},
        {"no choices", R"({"id":"a","model":"m","choices":[]})", std::nullopt,
         OpenRouterError::invalidResponse()},
        {"missing id", R"({"model":"m","choices":[{"message":{"content":"x"}}]})", std::nullopt,
         OpenRouterError::decodingFailed()},
        {"not json", "<html>", std::nullopt, OpenRouterError::decodingFailed()},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.name);
        serve([&](const LocalHttpServer::Request&) { return LocalHttpServer::json(item.body); });
        const QFuture<AIResponse> future = client->complete(chatRequest(), "sk-test");
        ASSERT_TRUE(plimbo::test::waitFor(future));
        EXPECT_EQ(futureError(future), item.error);
        if (item.response) {
            EXPECT_EQ(future.result(), *item.response);
        }
        const QJsonObject sent = QJsonDocument::fromJson(server->requests().first().body).object();
        EXPECT_EQ(sent.value("stream"), QJsonValue(false));
    }
}

TEST_F(OpenRouterClientTest, OneShotCompletionTimesOut) {
    OpenRouterClient::Timeouts timeouts;
    timeouts.chat = 200ms;
    serveSilence(timeouts);
    const QFuture<AIResponse> future = client->complete(chatRequest(), "sk-test");
    ASSERT_TRUE(plimbo::test::waitFor(future));
    EXPECT_EQ(futureError(future), OpenRouterError::timedOut());
}

// Collects what the client logs so the one catalogue entry can be checked.
struct LogCapture {
    static inline QStringList lines;
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        lines.append(QString::number(type) + " " + context.category + " " + text);
    }
    LogCapture() {
        lines.clear();
        previous = qInstallMessageHandler(handler);
    }
    ~LogCapture() { qInstallMessageHandler(previous); }
    QtMessageHandler previous;
};

TEST_F(OpenRouterClientTest, FetchModelsSortsByNameAndKeepsEqualNamesInOrder) {
    serve([](const LocalHttpServer::Request&) {
        return LocalHttpServer::json(
            R"({"data":[{"id":"v/beta","name":"beta"},{"id":"v/Alpha","name":"Alpha"},)"
            R"({"id":"w/alpha","name":"alpha","pricing":null},{"id":"x/gamma","name":"Gamma"}]})");
    });
    const QFuture<QList<OpenRouterModel>> future = client->fetchModels(" sk-test ");
    ASSERT_TRUE(plimbo::test::waitFor(future));
    QStringList ids;
    for (const OpenRouterModel& model : future.result()) {
        ids.append(model.id());
    }
    EXPECT_EQ(ids, QStringList({"v/Alpha", "w/alpha", "v/beta", "x/gamma"}));

    const LocalHttpServer::Request& sent = server->requests().first();
    EXPECT_EQ(sent.method, "GET");
    EXPECT_EQ(sent.path, "/api/v1/models");
    EXPECT_EQ(sent.header("Authorization"), "Bearer sk-test");
    EXPECT_EQ(sent.header("X-OpenRouter-Title"), "Plimbo");
    EXPECT_FALSE(sent.hasHeader("Content-Type"));

    const QFuture<bool> valid = client->validateCredential("sk-test");
    ASSERT_TRUE(plimbo::test::waitFor(valid));
    EXPECT_TRUE(valid.result());
}

TEST_F(OpenRouterClientTest, BrokenCatalogueIsInvalidAndLoggedByTypeOnly) {
    struct Case {
        LocalHttpServer::Response response;
        OpenRouterError error;
        QStringList logged;
    };
    const QString entry =
        QString::number(QtCriticalMsg) + " plimbo.ai Model catalog failed: JsonDecodingError";
    const Case cases[] = {
        {LocalHttpServer::json(R"({"data":[{"id":"a","name":"A","pricing":{"prompt":0}}]})"),
         OpenRouterError::invalidResponse(),
         {entry}},
        {LocalHttpServer::json(R"({"models":[]})"), OpenRouterError::invalidResponse(), {entry}},
        {LocalHttpServer::status(401, "{}"), OpenRouterError::invalidCredential(), {}},
        {LocalHttpServer::status(418, R"({"error":{"message":"teapot"}})"),
         OpenRouterError::message("teapot"),
         {}},
    };
    for (const Case& item : cases) {
        serve([&](const LocalHttpServer::Request&) { return item.response; });
        LogCapture capture;
        const auto error = futureError(client->fetchModels("sk-test"));
        EXPECT_EQ(error, item.error);
        EXPECT_EQ(LogCapture::lines, item.logged);
        EXPECT_EQ(futureError(client->validateCredential("sk-test")), item.error);
    }
}

TEST_F(OpenRouterClientTest, NoServerOrAReplyThatIsNotHttpNeverCountsAsAnAnswer) {
    // A port nothing listens on: the connection is refused.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    client = std::make_unique<OpenRouterClient>(
        QUrl(QStringLiteral("http://127.0.0.1:%1/api/v1").arg(port)), OpenRouterClient::Timeouts{});
    {
        LogCapture capture;
        EXPECT_EQ(futureError(client->fetchModels("sk-test")), OpenRouterError::invalidResponse());
        EXPECT_EQ(LogCapture::lines,
                  QStringList{QString::number(QtCriticalMsg) + " plimbo.ai Model catalog failed: "
                                                               "QNetworkReply::NetworkError"});
    }
    EXPECT_EQ(futureError(client->complete(chatRequest(), "sk-test")),
              OpenRouterError::decodingFailed());
    const auto refused = runStream();
    EXPECT_EQ(refused->error, OpenRouterError::decodingFailed());
    EXPECT_TRUE(refused->events.isEmpty());

    // A base address that is a folder: a well-formed catalogue read from a file has no HTTP
    // status, so it is no answer of the service.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile models(folder.filePath(QStringLiteral("models")));
    ASSERT_TRUE(models.open(QIODevice::WriteOnly));
    models.write(R"({"data":[{"id":"a/b","name":"B"}]})");
    models.close();
    client = std::make_unique<OpenRouterClient>(QUrl::fromLocalFile(folder.path()),
                                                OpenRouterClient::Timeouts{});
    LogCapture capture;
    EXPECT_EQ(futureError(client->fetchModels("sk-test")), OpenRouterError::invalidResponse());
    EXPECT_TRUE(LogCapture::lines.isEmpty());
}

TEST_F(OpenRouterClientTest, ABaseAddressEndingInASlashReachesTheSamePaths) {
    serve([](const LocalHttpServer::Request& request) {
        if (request.method == "GET") {
            return LocalHttpServer::json(R"({"data":[]})");
        }
        return LocalHttpServer::eventStream({joined(realServiceLines(), "\n")});
    });
    client = std::make_unique<OpenRouterClient>(
        QUrl(server->baseUrl().toString() + QStringLiteral("/")), OpenRouterClient::Timeouts{});
    EXPECT_TRUE(runStream()->finished);
    ASSERT_TRUE(plimbo::test::waitFor(client->fetchModels("sk-test")));
    ASSERT_EQ(server->requests().size(), 2);
    EXPECT_EQ(server->requests().at(0).path, "/api/v1/chat/completions");
    EXPECT_EQ(server->requests().at(1).path, "/api/v1/models");
}

TEST_F(OpenRouterClientTest, ACatalogueThatNeverArrivesTimesOutWithoutALogEntry) {
    OpenRouterClient::Timeouts timeouts;
    timeouts.catalogue = 200ms;
    serveSilence(timeouts);
    LogCapture capture;
    EXPECT_EQ(futureError(client->fetchModels("sk-test")), OpenRouterError::timedOut());
    EXPECT_TRUE(LogCapture::lines.isEmpty());
}

TEST_F(OpenRouterClientTest, AnOlderStreamEndingLeavesANewerOneWithTheSameIdCancellable) {
    serve([](const LocalHttpServer::Request& request) {
        auto response =
            LocalHttpServer::eventStream({R"(data: {"choices":[{"delta":{"content":"Hi"}}]})"
                                          "\n\n"});
        // The first request (a retry's predecessor) ends; the second one stays open.
        response.keepOpen = !request.body.contains("older");
        return response;
    });
    AIRequest older = chatRequest({AIMessage(AIMessage::Role::user, "older")});
    AIRequest newer = chatRequest({AIMessage(AIMessage::Role::user, "newer")});
    newer.id = older.id;
    auto olderOutcome = observe(client->stream(older, "sk-test"));
    auto newerOutcome = observe(client->stream(newer, "sk-test"));
    ASSERT_TRUE(waitUntilEnded(*olderOutcome));
    EXPECT_TRUE(olderOutcome->finished);
    ASSERT_TRUE(spinUntil([&] { return !newerOutcome->events.isEmpty(); }));
    EXPECT_FALSE(newerOutcome->ended());

    client->cancel(newer.id);
    ASSERT_TRUE(waitUntilEnded(*newerOutcome, 1000));
    EXPECT_EQ(newerOutcome->error, OpenRouterError::cancelled());
}

TEST_F(OpenRouterClientTest, ReleasingTheClientAbandonsOpenStreamsWithoutAFinalSignal) {
    serve([](const LocalHttpServer::Request&) {
        auto response =
            LocalHttpServer::eventStream({R"(data: {"choices":[{"delta":{"content":"Hi"}}]})"
                                          "\n\n"});
        response.keepOpen = true;
        return response;
    });
    const QPointer<OpenRouterStream> stream = client->stream(chatRequest(), "sk-test");
    auto outcome = observe(stream);
    ASSERT_TRUE(spinUntil([&] { return !outcome->events.isEmpty(); }));
    ASSERT_EQ(server->openConnections(), 1);

    client.reset();
    EXPECT_TRUE(stream.isNull());
    QTest::qWait(20);
    EXPECT_FALSE(outcome->ended());
    EXPECT_TRUE(QTest::qWaitFor([&] { return server->openConnections() == 0; }, 1000));
}

TEST_F(OpenRouterClientTest, AReceiverMayStopOrDeleteTheStreamFromItsOwnHandlers) {
    const QByteArray twoWords = R"(data: {"choices":[{"delta":{"content":"one"}}]})"
                                "\n\n"
                                R"(data: {"choices":[{"delta":{"content":"two"}}]})"
                                "\n\ndata: [DONE]\n\n";
    serveStream(twoWords);
    // Deletes the stream from its own handler of `signal`; whether it went, and what its
    // receiver saw (anything still queued for it would have arrived by then).
    auto deletedFrom = [&](auto signal) {
        QPointer<OpenRouterStream> stream = client->stream(chatRequest(), "sk-test");
        auto outcome = observe(stream);
        QObject::connect(stream, signal, stream, [stream] { delete stream.data(); });
        const bool gone = spinUntil([&] { return stream.isNull(); });
        QTest::qWait(50);
        return std::pair(gone, outcome);
    };
    {
        SCOPED_TRACE("cancel at the first word");
        OpenRouterStream* stream = client->stream(chatRequest(), "sk-test");
        auto outcome = observe(stream);
        QObject::connect(stream, &OpenRouterStream::eventReceived, stream,
                         [stream] { stream->cancel(); });
        ASSERT_TRUE(waitUntilEnded(*outcome));
        EXPECT_EQ(outcome->events, QList<AIStreamEvent>{AIStreamEvent::makeText("one")});
        EXPECT_EQ(outcome->error, OpenRouterError::cancelled());
        EXPECT_FALSE(outcome->finished);
    }
    {
        SCOPED_TRACE("delete at the first word");
        const auto [gone, outcome] = deletedFrom(&OpenRouterStream::eventReceived);
        ASSERT_TRUE(gone);
        EXPECT_EQ(outcome->events, QList<AIStreamEvent>{AIStreamEvent::makeText("one")});
        EXPECT_FALSE(outcome->ended());
    }
    {
        SCOPED_TRACE("cancel once finished");
        OpenRouterStream* stream = client->stream(chatRequest(), "sk-test");
        auto outcome = observe(stream);
        QObject::connect(stream, &OpenRouterStream::finished, stream,
                         [stream] { stream->cancel(); });
        ASSERT_TRUE(waitUntilEnded(*outcome));
        QTest::qWait(50);
        EXPECT_TRUE(outcome->finished);
        EXPECT_FALSE(outcome->error.has_value()) << "a finished stream was also cancelled";
    }
    {
        SCOPED_TRACE("delete on finish");
        const auto [gone, outcome] = deletedFrom(&OpenRouterStream::finished);
        ASSERT_TRUE(gone);
        EXPECT_TRUE(outcome->finished);
    }
    serve([](const LocalHttpServer::Request&) { return LocalHttpServer::status(500, "{}"); });
    {
        SCOPED_TRACE("delete on failure");
        const auto [gone, outcome] = deletedFrom(&OpenRouterStream::failed);
        ASSERT_TRUE(gone);
        EXPECT_EQ(outcome->error, OpenRouterError::unavailable(500));
    }
}

} // namespace
