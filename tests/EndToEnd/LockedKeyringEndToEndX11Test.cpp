#include "AppModel.h"
#include "FakeOpenRouterServer.h"
#include "KeychainService.h"
#include "PrivateKeyring.h"
#include "RunningPlimbo.h"
#include "StandInPrompter.h"
#include "XDoTool.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test;

namespace {

const QString testKey = QStringLiteral("sk-or-v1-lockedkeyring0123456789abcdef");
const QString password = QStringLiteral("plimbo-login-password");
const QString notchWindowName = QStringLiteral("Plimbo Notch");

std::string field(const std::optional<QJsonObject>& turn, const char* name) {
    return turn ? turn->value(QLatin1String(name)).toString().toStdString() : std::string();
}

// The real program started on a desktop whose login keyring is locked and holds the key: a
// gnome-keyring-daemon of its own on a bus of its own, with a stand-in for the unlock prompter.
class LockedKeyringEndToEndX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(keyring.start(password)) << keyring.daemonOutput().toStdString();
        ASSERT_TRUE(keyring.store(AppModel::keychainServiceName, KeychainService::openRouterAccount,
                                  testKey.toUtf8()));
        ASSERT_TRUE(keyring.lock());
        app = std::make_unique<RunningPlimbo>(server.baseUrl());
        app->useSessionBus(keyring.busAddress());
    }

    void TearDown() override {
        EXPECT_TRUE(app->isRunning()) << app->output().toStdString();
        EXPECT_TRUE(app->stop()) << app->output().toStdString();
        app.reset();
        EXPECT_TRUE(keyring.daemonIsRunning()) << keyring.daemonOutput().toStdString();
    }

    // Starts the program; true once its notch is on screen and its shortcuts answer.
    void startWhileTheKeyringIsLocked(const StandInPrompter* prompter = nullptr) {
        ASSERT_TRUE(app->start());
        ASSERT_TRUE(QTest::qWaitFor(
            [this, prompter] {
                if (XDoTool::visibleWindows(notchWindowName).isEmpty()) {
                    return false;
                }
                windowsShownAt = QDateTime::currentMSecsSinceEpoch();
                answeredWhenWindowsShown = prompter ? prompter->promptsAnswered() : 0;
                return true;
            },
            10000))
            << app->output().toStdString();
        ASSERT_TRUE(app->openPalette()) << app->output().toStdString();
    }

    // The windows came up within a second of the unlock prompt appearing, while it was still
    // waiting for its answer. (Measured from the prompt, not from the launch: starting the
    // process alone can take longer than that on a busy machine.)
    void expectWindowsUpWhileThePromptWaits(const StandInPrompter& prompter) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return prompter.promptsShown() > 0; }, 10000));
        EXPECT_LE(windowsShownAt - prompter.firstShownAt(), 1000);
        EXPECT_EQ(answeredWhenWindowsShown, 0);
    }

    void send(const QString& prompt) {
        ASSERT_TRUE(app->openMiniAIFromPalette()) << app->output().toStdString();
        ASSERT_TRUE(XDoTool::type(prompt));
        ASSERT_TRUE(XDoTool::key(QStringLiteral("Return")));
    }

    std::optional<QJsonObject> waitForStoredTurn(const QString& prompt, const std::string& state) {
        (void)QTest::qWaitFor([&] { return field(app->storedTurn(prompt), "state") == state; },
                              15000);
        return app->storedTurn(prompt);
    }

    PrivateKeyring keyring;
    FakeOpenRouterServer server;
    std::unique_ptr<RunningPlimbo> app;
    qint64 windowsShownAt = 0;
    int answeredWhenWindowsShown = 0;
};

} // namespace

TEST_F(LockedKeyringEndToEndX11Test, APromptAnsweredAfterThirtySecondsLetsTheKeyBeUsed) {
    if (!GcrSecretExchange::available()) {
        GTEST_SKIP() << "libgcr-base-3 (shipped with gnome-keyring) is needed to answer";
    }
    StandInPrompter prompter(StandInPrompter::Answer::password, 30000, password.toUtf8());
    ASSERT_TRUE(prompter.registerOn(keyring.connection()));
    startWhileTheKeyringIsLocked(&prompter);
    expectWindowsUpWhileThePromptWaits(prompter);

    ASSERT_TRUE(QTest::qWaitFor([&] { return keyring.isLocked() == false; }, 45000));
    EXPECT_EQ(prompter.promptsShown(), 1);
    const QString prompt = QStringLiteral("Hello after unlocking");
    server.setReply({.pieces = {FakeOpenRouterServer::contentEvent(QStringLiteral("Hi.")),
                                FakeOpenRouterServer::doneEvent()}});
    ASSERT_TRUE(app->openPalette());
    send(prompt);
    const std::optional<QJsonObject> turn = waitForStoredTurn(prompt, "completed");
    ASSERT_EQ(field(turn, "state"), "completed") << app->output().toStdString();
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().first().headers.value("authorization"),
              "Bearer " + testKey.toUtf8());
}

TEST_F(LockedKeyringEndToEndX11Test, ADismissedPromptIsAKeychainFailureNotAMissingKey) {
    // Dismissed after a few seconds, as a person who decides not to unlock.
    StandInPrompter prompter(StandInPrompter::Answer::dismiss, 3000);
    ASSERT_TRUE(prompter.registerOn(keyring.connection()));
    startWhileTheKeyringIsLocked(&prompter);
    expectWindowsUpWhileThePromptWaits(prompter);
    ASSERT_TRUE(QTest::qWaitFor([&] { return prompter.promptsAnswered() == 1; }, 10000));
    QTest::qWait(500); // the dismissal reaches the program

    // The composer still takes the message (a key is stored); the request's own read is
    // dismissed too and the turn fails with the keyring's failure, sending nothing.
    const QString prompt = QStringLiteral("Hello while locked");
    send(prompt);
    const std::optional<QJsonObject> turn = waitForStoredTurn(prompt, "failed");
    ASSERT_EQ(field(turn, "state"), "failed") << app->output().toStdString();
    EXPECT_EQ(field(turn, "failureMessage"), "Keyring operation failed (-128).");
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_EQ(prompter.promptsShown(), 2);
    EXPECT_EQ(keyring.isLocked(), true);
}

TEST_F(LockedKeyringEndToEndX11Test, WithoutAPrompterTheKeyIsLockedNotMissing) {
    // The daemon finds no prompter on this bus and gives up on the prompt at once.
    startWhileTheKeyringIsLocked();

    const QString prompt = QStringLiteral("Hello without a prompter");
    send(prompt);
    const std::optional<QJsonObject> turn = waitForStoredTurn(prompt, "failed");
    ASSERT_EQ(field(turn, "state"), "failed") << app->output().toStdString();
    EXPECT_EQ(field(turn, "failureMessage"), "Keyring operation failed (-128).");
    EXPECT_TRUE(server.requests().isEmpty());
}
