#include "AppModelHarness.h"

#include <gtest/gtest.h>

using namespace plimbo;
using namespace plimbo::test;

namespace {

// A stopped request's stream still reports its end, as the real client does once its
// cancellation has gone through, but only after the user has sent the next prompt.
class AppModelLateStreamEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.storeKey(QStringLiteral("sk-or-test"));
        model = h.makeModel();
    }

    void send(const QString& prompt) { ASSERT_TRUE(h.send(*model, prompt)); }

    // The second reply runs on, untouched by whatever the first stream reports.
    void expectSecondStillStreaming() {
        EXPECT_TRUE(model->isGenerating());
        EXPECT_EQ(model->aiStatus(), ChatStatus::writing);
        EXPECT_EQ(model->aiOutput(), "two");
        EXPECT_FALSE(model->presentedError().has_value());
        ASSERT_EQ(model->aiConversation().size(), 2);
        EXPECT_EQ(model->aiConversation()[0].state, AIChatTurnState::stopped);
        EXPECT_EQ(model->aiConversation()[0].response, "one");
        EXPECT_EQ(model->aiConversation()[1].state, AIChatTurnState::streaming);
    }

    // Every way the first stream can still end, one after another.
    void firstStreamEndsLate(AIResponseStream* first) {
        emit first->failed(OpenRouterError::cancelled());
        expectSecondStillStreaming();
        emit first->failed(OpenRouterError::decodingFailed());
        expectSecondStillStreaming();
        emit first->finished();
        expectSecondStillStreaming();
    }

    void secondEndsNormally() {
        h.ai->text(QStringLiteral(" more"));
        h.ai->end();
        EXPECT_FALSE(model->isGenerating());
        EXPECT_EQ(model->aiStatus(), ChatStatus::done);
        const QList<AIChatTurn> stored = h.readHistory().first().turns;
        ASSERT_EQ(stored.size(), 2);
        EXPECT_EQ(stored[0].state, AIChatTurnState::stopped);
        EXPECT_EQ(stored[0].response, "one");
        EXPECT_EQ(stored[1].state, AIChatTurnState::completed);
        EXPECT_EQ(stored[1].response, "two more");
    }

    AppModelHarness h;
    std::unique_ptr<AppModel> model;
};

} // namespace

TEST_F(AppModelLateStreamEndTest, StoppedThenSentAgain) {
    send(QStringLiteral("First"));
    h.ai->text(QStringLiteral("one"));
    const QPointer<AIResponseStream> first = h.ai->last();
    model->stopAI();
    send(QStringLiteral("Second"));
    h.ai->text(QStringLiteral("two"));
    ASSERT_TRUE(first);

    firstStreamEndsLate(first);
    secondEndsNormally();
}

TEST_F(AppModelLateStreamEndTest, SentWhileTheFirstWasStillWriting) {
    send(QStringLiteral("First"));
    h.ai->text(QStringLiteral("one"));
    const QPointer<AIResponseStream> first = h.ai->last();
    send(QStringLiteral("Second"));
    h.ai->text(QStringLiteral("two"));
    ASSERT_TRUE(first);

    firstStreamEndsLate(first);
    secondEndsNormally();
}
