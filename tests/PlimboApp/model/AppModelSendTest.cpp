#include "AppModelHarness.h"
#include "LocalHttpServer.h"
#include "OpenRouterClient.h"
#include "OpenRouterStreamingClient.h"
#include "ThreadPoolTaskExecutor.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class AppModelSendTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.storeKey(QStringLiteral("sk-or-test"));
        model = h.makeModel();
    }

    void send(const QString& prompt) { ASSERT_TRUE(h.send(*model, prompt)); }

    AIChatTurn lastTurn() const { return model->aiConversation().last(); }
    AIChatTurn storedLastTurn() const { return h.readHistory().first().turns.last(); }

    AppModelHarness h;
    std::unique_ptr<AppModel> model;
};

TEST_F(AppModelSendTest, FinishEventCompletesTheTurnAndSavesItAtStartAndEnd) {
    send(QStringLiteral("  Plan my   day\n please "));
    EXPECT_EQ(model->aiStatus(), ChatStatus::thinking);
    EXPECT_TRUE(model->isGenerating());
    EXPECT_EQ(model->aiInput(), "");
    ASSERT_EQ(model->aiChats().size(), 1);
    EXPECT_EQ(model->aiChats().first().title, "Plan my day please");
    // The streaming turn is on disk before any answer arrives.
    EXPECT_EQ(storedLastTurn().state, AIChatTurnState::streaming);
    EXPECT_EQ(storedLastTurn().prompt, "Plan my   day\n please");

    const AIRequest& request = h.ai->calls.first().request;
    EXPECT_EQ(h.ai->calls.first().apiKey, "sk-or-test");
    EXPECT_EQ(request.model, "openrouter/auto");
    EXPECT_EQ(request.temperature, 0.4);
    EXPECT_FALSE(request.maxOutputTokens.has_value());
    EXPECT_EQ(request.id, lastTurn().id);
    ASSERT_EQ(request.messages.size(), 2);
    EXPECT_EQ(request.messages.first().role, AIMessage::Role::system);

    h.ai->text(QStringLiteral("Hel"));
    EXPECT_EQ(model->aiStatus(), ChatStatus::writing);
    EXPECT_EQ(model->aiOutput(), "Hel");
    h.ai->text(QStringLiteral("lo"));
    h.ai->usage(42);
    h.ai->finishEvent();
    EXPECT_TRUE(model->isGenerating());
    const int writesBeforeEnd = h.writer->writtenPaths().size();
    h.ai->end();

    EXPECT_FALSE(model->isGenerating());
    EXPECT_EQ(model->aiStatus(), ChatStatus::done);
    EXPECT_EQ(model->aiOutput(), "Hello");
    EXPECT_EQ(model->aiUsage()->totalTokens, 42);
    EXPECT_EQ(lastTurn().state, AIChatTurnState::completed);
    EXPECT_FALSE(model->presentedError().has_value());
    // Deltas are not saved one by one; the end is saved once.
    EXPECT_EQ(h.writer->writtenPaths().size(), writesBeforeEnd + 1);
    EXPECT_EQ(storedLastTurn().response, "Hello");
    EXPECT_EQ(storedLastTurn().state, AIChatTurnState::completed);
}

TEST_F(AppModelSendTest, EveryOtherWayATurnEnds) {
    struct Case {
        const char* name;
        std::function<void(const FakeAIStreamingClient&)> drive;
        AIChatTurnState state;
        ChatStatus status;
        std::optional<QString> failure;
    };
    const QList<Case> cases{
        {"text without finish event",
         [](const auto& ai) {
             ai.text(QStringLiteral("partial"));
             ai.end();
         },
         AIChatTurnState::completed, ChatStatus::done, std::nullopt},
        {"finish event without text",
         [](const auto& ai) {
             ai.finishEvent();
             ai.end();
         },
         AIChatTurnState::completed, ChatStatus::noText, std::nullopt},
        {"neither", [](const auto& ai) { ai.end(); }, AIChatTurnState::failed, ChatStatus::failed,
         QStringLiteral("No text was returned.")},
        {"provider error", [](const auto& ai) { ai.fail(OpenRouterError::rateLimited()); },
         AIChatTurnState::failed, ChatStatus::failed, OpenRouterError::rateLimited().description()},
        {"cancelled by the client", [](const auto& ai) { ai.fail(OpenRouterError::cancelled()); },
         AIChatTurnState::stopped, ChatStatus::stopped, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model->setPresentedError(std::nullopt);
        send(QStringLiteral("Hello"));
        c.drive(*h.ai);
        EXPECT_EQ(lastTurn().state, c.state);
        EXPECT_EQ(lastTurn().failureMessage, c.failure);
        EXPECT_EQ(model->aiStatus(), c.status);
        EXPECT_EQ(model->presentedError(), c.failure);
        EXPECT_FALSE(model->isGenerating());
        EXPECT_EQ(storedLastTurn(), lastTurn());
    }
}

TEST_F(AppModelSendTest, StopEndsTheTurnAtOnceAndCancelsTheRequestLater) {
    send(QStringLiteral("Hello"));
    h.ai->text(QStringLiteral("part"));
    const QUuid requestID = lastTurn().id;

    model->stopAI();
    EXPECT_EQ(lastTurn().state, AIChatTurnState::stopped);
    EXPECT_EQ(lastTurn().response, "part");
    EXPECT_EQ(model->aiStatus(), ChatStatus::stopped);
    EXPECT_FALSE(model->isGenerating());
    EXPECT_TRUE(h.ai->cancelled.isEmpty());
    ASSERT_TRUE(settle([&] { return !h.ai->cancelled.isEmpty(); }));
    EXPECT_EQ(h.ai->cancelled, QList<QUuid>{requestID});

    model->stopAI();
    spin();
    EXPECT_EQ(h.ai->cancelled.size(), 1);
}

TEST_F(AppModelSendTest, EventsArrivingAfterTheRequestEndedChangeNothing) {
    send(QStringLiteral("Hello"));
    h.ai->text(QStringLiteral("part"));
    model->stopAI();
    const QList<AIChatSession> chats = model->aiChats();
    QSignalSpy statusChanges(model.get(), &AppModel::aiStatusChanged);

    h.ai->text(QStringLiteral(" late"));
    h.ai->usage(99);
    h.ai->finishEvent();
    h.ai->end();

    EXPECT_EQ(model->aiChats(), chats);
    EXPECT_EQ(lastTurn().state, AIChatTurnState::stopped);
    EXPECT_FALSE(model->aiUsage().has_value());
    EXPECT_EQ(statusChanges.count(), 0);
}

TEST_F(AppModelSendTest, SendingWhileGeneratingStopsTheRunningTurnInTheSameChat) {
    send(QStringLiteral("First"));
    h.ai->text(QStringLiteral("one"));
    AIResponseStream* firstStream = h.ai->last();
    send(QStringLiteral("Second"));

    ASSERT_EQ(model->aiChats().size(), 1);
    ASSERT_EQ(model->aiConversation().size(), 2);
    EXPECT_EQ(model->aiConversation()[0].state, AIChatTurnState::stopped);
    EXPECT_EQ(model->aiConversation()[1].state, AIChatTurnState::streaming);
    // The first request's late text lands nowhere.
    emit firstStream->eventReceived(AIStreamEvent::makeText(QStringLiteral("late")));
    EXPECT_EQ(model->aiConversation()[0].response, "one");
    EXPECT_EQ(model->aiConversation()[1].response, "");
    // The second request carries the stopped first turn as history.
    EXPECT_EQ(h.ai->last()->requestID(), model->aiConversation()[1].id);
    EXPECT_EQ(h.ai->calls.last().request.messages.size(), 4);
}

// Stop pressed while the request is still being prepared ("Thinking…"): nothing may leave.
TEST_F(AppModelSendTest, StopWhileMessagesAreBuiltSendsNothing) {
    h.executor->hold();
    model->setAiInput(QStringLiteral("Hello"));
    model->sendAI();
    ASSERT_EQ(model->aiStatus(), ChatStatus::thinking);
    model->stopAI();
    h.executor->release();
    spin(50);
    EXPECT_TRUE(h.ai->calls.isEmpty());
    EXPECT_EQ(lastTurn().state, AIChatTurnState::stopped);
    EXPECT_EQ(model->aiStatus(), ChatStatus::stopped);
}

TEST_F(AppModelSendTest, StopWhileTheKeyIsReadSendsNothing) {
    h.executor->hold();
    model->setAiInput(QStringLiteral("Hello"));
    model->sendAI();
    h.executor->runHeld(); // the messages are built; the key lookup is posted
    ASSERT_EQ(h.executor->heldCount(), 1);
    // The read may wait for an unlock prompt as long as the person takes; Stop ends the turn
    // at once, and the key that arrives later sends nothing.
    model->stopAI();
    EXPECT_EQ(lastTurn().state, AIChatTurnState::stopped);
    EXPECT_EQ(model->aiStatus(), ChatStatus::stopped);
    EXPECT_FALSE(model->isGenerating());
    h.executor->release();
    spin(50);
    EXPECT_TRUE(h.ai->calls.isEmpty());
    EXPECT_EQ(lastTurn().state, AIChatTurnState::stopped);
    EXPECT_EQ(model->aiStatus(), ChatStatus::stopped);
}

// A step the executor drops unrun (it is shutting down) ends the turn as stopped, quietly.
TEST_F(AppModelSendTest, ARequestWhoseBackgroundStepIsDroppedEndsStopped) {
    h.executor->hold();
    model->setAiInput(QStringLiteral("Hello"));
    model->sendAI();
    h.executor->dropHeld(); // the messages are never built
    ASSERT_TRUE(settle([&] { return !model->isGenerating(); }));
    EXPECT_EQ(lastTurn().state, AIChatTurnState::stopped);
    EXPECT_EQ(model->aiStatus(), ChatStatus::stopped);

    model->setAiInput(QStringLiteral("Again"));
    model->sendAI();
    h.executor->runHeld(); // the messages are built; the key lookup is held...
    ASSERT_EQ(h.executor->heldCount(), 1);
    h.executor->dropHeld(); // ...and never runs
    ASSERT_TRUE(settle([&] { return !model->isGenerating(); }));
    EXPECT_EQ(lastTurn().prompt, "Again");
    EXPECT_EQ(lastTurn().state, AIChatTurnState::stopped);
    EXPECT_EQ(model->aiStatus(), ChatStatus::stopped);

    h.executor->release();
    spin(50);
    EXPECT_TRUE(h.ai->calls.isEmpty());
    EXPECT_FALSE(model->presentedError().has_value());
    EXPECT_EQ(storedLastTurn().state, AIChatTurnState::stopped);
}

TEST_F(AppModelSendTest, MissingOrRefusedKeyFailsTheTurnWithoutARequest) {
    h.secrets = std::make_shared<InMemorySecretStore>();
    model = h.makeModel();
    EXPECT_FALSE(model->credentialIsStored());
    model->setAiInput(QStringLiteral("Hello"));
    model->sendAI();
    ASSERT_TRUE(settle([&] { return !model->isGenerating(); }));
    EXPECT_TRUE(h.ai->calls.isEmpty());
    EXPECT_EQ(lastTurn().state, AIChatTurnState::failed);
    EXPECT_EQ(lastTurn().failureMessage, "Add an OpenRouter API key in Settings.");
    EXPECT_EQ(model->presentedError(), "Add an OpenRouter API key in Settings.");

    h.storeKey(QStringLiteral("sk-or-bad"));
    h.ai->refuseWith = OpenRouterError::invalidCredential();
    model->setAiInput(QStringLiteral("Again"));
    model->sendAI();
    ASSERT_TRUE(settle([&] { return !model->isGenerating(); }));
    EXPECT_EQ(lastTurn().failureMessage, OpenRouterError::invalidCredential().description());

    // A keyring that fails is reported with its own text.
    h.secrets->setFailure(SecretStatus::internalFailure);
    model->setAiInput(QStringLiteral("Once more"));
    model->sendAI();
    ASSERT_TRUE(settle([&] { return !model->isGenerating(); }));
    EXPECT_EQ(lastTurn().failureMessage, "Keyring operation failed (-2070).");
    EXPECT_EQ(h.ai->calls.size(), 0);

    // So is a stored key whose keyring stays locked: no request, and no call for a new key.
    h.secrets->setFailure(std::nullopt);
    h.secrets->setLocked(SecretStatus::userCanceled);
    model->setAiInput(QStringLiteral("Locked"));
    model->sendAI();
    ASSERT_TRUE(settle([&] { return !model->isGenerating(); }));
    EXPECT_EQ(lastTurn().failureMessage, "Keyring operation failed (-128).");
    EXPECT_EQ(h.ai->calls.size(), 0);
}

TEST_F(AppModelSendTest, RefusedSendsChangeOnlyTheError) {
    model->sendAI();
    EXPECT_EQ(model->presentedError(), "Add a message or attachment for the assistant.");
    EXPECT_TRUE(model->aiChats().isEmpty());

    h.executor->hold();
    ASSERT_TRUE(model->addAIAttachments({h.sourceFile("a.txt", "text")}));
    model->setAiInput(QStringLiteral("Hello"));
    model->sendAI();
    EXPECT_EQ(model->presentedError(), "Wait for the attachment to finish loading.");
    EXPECT_TRUE(model->aiChats().isEmpty());
    EXPECT_EQ(model->aiInput(), "Hello");
}

TEST_F(AppModelSendTest, OnlyTheLastEightEarlierTurnsGoAlong) {
    h.writeHistory({makeChat(QStringLiteral("Long"), h.clock->now(), 10)});
    model = h.makeModel();
    send(QStringLiteral("Next"));
    // System prompt, eight user/assistant pairs, the new message.
    EXPECT_EQ(h.ai->calls.first().request.messages.size(), 18);
    EXPECT_EQ(model->aiConversation().size(), 11);
}

TEST_F(AppModelSendTest, AFailedSaveIsReportedAndTheChatStaysInMemory) {
    h.writer->setFailure(QStringLiteral("disk full"));
    send(QStringLiteral("Hello"));
    ASSERT_TRUE(model->presentedError().has_value());
    EXPECT_TRUE(model->presentedError()->startsWith("Chat history could not be saved. "));
    EXPECT_EQ(model->aiChats().size(), 1);
}

TEST_F(AppModelSendTest, HistoryLimitsDropTheOldestAndDeleteTheirFiles) {
    const AIChatAttachment oldFile = h.storeAttachment("old", QStringLiteral("old.txt"));
    const AIChatAttachment firstTurnFile = h.storeAttachment("first", QStringLiteral("first.txt"));
    QList<AIChatSession> chats;
    AIChatSession full = makeChat(QStringLiteral("Full"), h.clock->now(), 100);
    full.turns.first().attachments = {firstTurnFile};
    chats.append(full);
    for (int i = 1; i < 100; ++i) {
        chats.append(makeChat(QStringLiteral("Chat %1").arg(i), h.clock->now().addSecs(-i)));
    }
    chats.last().turns.first().attachments = {oldFile};
    h.writeHistory(chats);
    model = h.makeModel();
    ASSERT_EQ(model->aiChats().size(), 100);

    // The 101st turn of the selected chat pushes out its oldest turn.
    h.clock->advanceSeconds(10);
    send(QStringLiteral("One more"));
    EXPECT_EQ(model->aiConversation().size(), 100);
    EXPECT_EQ(model->aiConversation().first().prompt, "prompt 1");
    ASSERT_TRUE(settle([&] { return !h.attachmentFileExists(firstTurnFile); }));
    EXPECT_TRUE(h.attachmentFileExists(oldFile));

    // A 101st chat pushes out the least recently updated one.
    h.ai->end();
    model->newAIChat();
    send(QStringLiteral("New chat"));
    EXPECT_EQ(model->aiChats().size(), 100);
    EXPECT_EQ(model->aiChats().first().title, "New chat");
    EXPECT_EQ(model->aiChats().last().title, "Chat 98");
    ASSERT_TRUE(settle([&] { return !h.attachmentFileExists(oldFile); }));
}

TEST(AppModelRules, SectionsAndShortcutsKeepTheirRawValues) {
    QStringList sections;
    for (AppSection section : allAppSections()) {
        sections.append(toString(section));
    }
    EXPECT_EQ(sections, (QStringList{"overview", "launcher", "clipboard", "ai", "permissions",
                                     "diagnostics"}));
    EXPECT_EQ(appSectionFromString("ai"), AppSection::ai);
    EXPECT_FALSE(appSectionFromString("AI").has_value());
    EXPECT_EQ(settingsSectionFromString("openRouter"), SettingsSection::openRouter);
    EXPECT_FALSE(settingsSectionFromString("OpenRouter").has_value());
    EXPECT_FALSE(settingsSectionFromString("").has_value());
    EXPECT_EQ(toString(SettingsSection::privacy), "privacy");

    EXPECT_EQ(globalShortcutFromRawValue(2), PlimboGlobalShortcut::launcher);
    EXPECT_FALSE(globalShortcutFromRawValue(0).has_value());
    EXPECT_FALSE(globalShortcutFromRawValue(4).has_value());
}

// The real OpenRouter client behind the seam, against a local server.
TEST(AppModelOpenRouter, StreamsARealReplyIntoTheTurn) {
    LocalHttpServer server([](const LocalHttpServer::Request&) {
        return LocalHttpServer::eventStream(
            {R"(data: {"choices":[{"delta":{"content":"Hi "}}]})"
             "\n\n",
             R"(data: {"choices":[{"delta":{"content":"there"},"finish_reason":"stop"}]})"
             "\n\ndata: [DONE]\n\n"});
    });
    AppModelHarness h;
    h.storeKey(QStringLiteral("sk-or-test"));
    AppModelDependencies dependencies = h.dependencies();
    // Real threads for the background steps, as in the application.
    dependencies.executor = std::make_shared<ThreadPoolTaskExecutor>();
    dependencies.aiClient = std::make_shared<OpenRouterStreamingClient>(
        std::make_shared<OpenRouterClient>(server.baseUrl(), OpenRouterClient::Timeouts{}));
    AppModel model(std::move(dependencies));
    ASSERT_TRUE(settle([&] { return model.isAIHistoryLoaded(); }));

    model.setAiInput(QStringLiteral("Hello"));
    model.sendAI();
    ASSERT_TRUE(settle([&] { return !model.isGenerating(); }));
    EXPECT_EQ(model.aiStatus(), ChatStatus::done);
    EXPECT_EQ(model.aiOutput(), "Hi there");
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().first().header("Authorization"), "Bearer sk-or-test");
}

} // namespace
