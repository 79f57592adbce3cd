#include "AppModel.h"
#include "FakeOpenRouterServer.h"
#include "KeychainService.h"
#include "LibsecretSecretStore.h"
#include "RunningPlimbo.h"
#include "XDoTool.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test;

namespace {

const QString testKey = QStringLiteral("sk-or-v1-e2etestkey0123456789abcdef");

KeychainService keychain() {
    return KeychainService(AppModel::keychainServiceName, std::make_shared<LibsecretSecretStore>());
}

std::string turnState(const std::optional<QJsonObject>& turn) {
    return turn ? turn->value(QStringLiteral("state")).toString().toStdString() : std::string();
}

std::string text(const QJsonObject& turn, const char* field) {
    return turn.value(QLatin1String(field)).toString().toStdString();
}

// The last user message of a chat-completions request body, as sent.
QJsonValue lastUserContent(const QByteArray& body) {
    const QJsonArray messages =
        QJsonDocument::fromJson(body).object().value(QStringLiteral("messages")).toArray();
    return messages.isEmpty() ? QJsonValue() : messages.last().toObject().value("content");
}

// The real program, with the session keyring holding a key and its assistant talking to a
// local server; each case drives it through the palette and the mini assistant.
class AssistantEndToEndX11Test : public ::testing::Test {
protected:
    static void SetUpTestSuite() { keychain().save(testKey, KeychainService::openRouterAccount); }
    static void TearDownTestSuite() { keychain().remove(KeychainService::openRouterAccount); }

    void SetUp() override {
        app = std::make_unique<RunningPlimbo>(server.baseUrl());
        ASSERT_TRUE(app->startAndOpenPalette()) << app->output().toStdString();
        ASSERT_TRUE(app->openMiniAIFromPalette()) << app->output().toStdString();
    }

    void TearDown() override {
        // A program that died on the way fails the case even when its checks passed.
        EXPECT_TRUE(app->isRunning()) << app->output().toStdString();
        EXPECT_TRUE(app->stop()) << app->output().toStdString();
        app.reset();
    }

    void send(const QString& prompt) {
        ASSERT_TRUE(XDoTool::type(prompt));
        ASSERT_TRUE(XDoTool::key(QStringLiteral("Return")));
    }

    std::optional<QJsonObject> waitForStoredTurn(const QString& prompt, const std::string& state) {
        (void)QTest::qWaitFor([&] { return turnState(app->storedTurn(prompt)) == state; }, 15000);
        return app->storedTurn(prompt);
    }

    FakeOpenRouterServer server;
    std::unique_ptr<RunningPlimbo> app;
};

} // namespace

TEST_F(AssistantEndToEndX11Test, AStreamedReplyIsStoredWholeAndSecretsNeverLeave) {
    server.setReply({.pieces = {FakeOpenRouterServer::contentEvent(QStringLiteral("Hello")),
                                FakeOpenRouterServer::contentEvent(QStringLiteral(" from the")),
                                FakeOpenRouterServer::contentEvent(QStringLiteral(" fake server.")),
                                FakeOpenRouterServer::doneEvent()}});
    const QString prompt = QStringLiteral("Check token=abcdef0123456789 please");
    send(prompt);

    const std::optional<QJsonObject> turn = waitForStoredTurn(prompt, "completed");
    ASSERT_EQ(turnState(turn), "completed") << app->output().toStdString();
    EXPECT_EQ(text(*turn, "response"), "Hello from the fake server.");

    ASSERT_EQ(server.requests().size(), 1);
    const FakeOpenRouterServer::Request& request = server.requests().first();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.headers.value("authorization"), "Bearer " + testKey.toUtf8());
    EXPECT_TRUE(QJsonDocument::fromJson(request.body).object().value("stream").toBool());
    const QString sent = lastUserContent(request.body).toString();
    EXPECT_TRUE(sent.startsWith(QStringLiteral("Check "))) << sent.toStdString();
    EXPECT_FALSE(request.body.contains("abcdef0123456789")) << request.body.toStdString();
}

TEST_F(AssistantEndToEndX11Test, StopMidStreamKeepsTheTextSoFarAndClosesTheStream) {
    server.setReply({.pieces = {FakeOpenRouterServer::contentEvent(QStringLiteral("Partial"))},
                     .holdOpen = true});
    const QString prompt = QStringLiteral("Tell me a long story");
    send(prompt);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests().size() == 1; }, 10000));
    // Time for the first words to arrive and be shown, generous for a loaded machine.
    QTest::qWait(2000);

    // The send button turns into the stop button while the reply streams; it sits in the
    // panel's bottom-right corner.
    const QList<QRect> panels = XDoTool::visibleWindows(QStringLiteral("Plimbo AI"));
    ASSERT_EQ(panels.size(), 1);
    ASSERT_TRUE(XDoTool::click(panels.first().bottomRight() - QPoint(34, 35)));

    const std::optional<QJsonObject> turn = waitForStoredTurn(prompt, "stopped");
    ASSERT_EQ(turnState(turn), "stopped") << app->output().toStdString();
    EXPECT_EQ(text(*turn, "response"), "Partial");
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.heldStreamWasClosedByClient(); }, 5000));
}

TEST_F(AssistantEndToEndX11Test, AProviderErrorFailsTheTurnAndIsShown) {
    server.setReply(
        {.status = 401,
         .contentType = "application/json",
         .pieces = {R"({"error":{"message":"No auth credentials found","code":401}})"}});
    const QString prompt = QStringLiteral("Are you there");
    send(prompt);

    const std::optional<QJsonObject> turn = waitForStoredTurn(prompt, "failed");
    ASSERT_EQ(turnState(turn), "failed") << app->output().toStdString();
    EXPECT_EQ(text(*turn, "failureMessage"),
              "OpenRouter rejected this API key. Replace it and try again.");
    // The panel shows the alert over itself.
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return XDoTool::visibleWindows(QStringLiteral("Plimbo AI")).size() == 2; }, 5000));
}
