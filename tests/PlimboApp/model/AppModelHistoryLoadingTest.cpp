#include "AppModelHarness.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace plimbo;
using namespace plimbo::test;

namespace {

// What the user does while the history is still read in the background: the chat they are in
// stays theirs, and nothing they type or attach is lost or lands in a stored chat.
class AppModelHistoryLoadingTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.storeKey(QStringLiteral("key"));
        stored = makeChat(QStringLiteral("Stored"), h.clock->now().addSecs(-60), 3);
        h.writeHistory({stored});
        h.executor->hold();
        model = h.makeLoadingModel();
        started = model->start();
        ASSERT_TRUE(settle([&] { return started.isFinished(); }));
        ASSERT_FALSE(model->isAIHistoryLoaded());
    }

    void finishLoading() {
        h.executor->release();
        ASSERT_TRUE(settle([&] { return model->isAIHistoryLoaded(); }));
    }

    QByteArray historyBytes() const {
        QFile file(h.historyPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    AppModelHarness h;
    AIChatSession stored;
    std::unique_ptr<AppModel> model;
    QFuture<void> started;
};

TEST_F(AppModelHistoryLoadingTest, AQuestionTypedInTheMiniAIStaysInItsNewChat) {
    model->showMiniAI();
    FakeMiniAI* mini = h.surfaces->mini;
    ASSERT_TRUE(mini && mini->visible);
    model->setAiInput(QStringLiteral("What is new?"));
    model->sendAI();
    EXPECT_TRUE(h.ai->calls.isEmpty());

    finishLoading();
    ASSERT_EQ(model->aiChats().size(), 1);
    EXPECT_FALSE(model->selectedAIChatID().has_value());
    EXPECT_TRUE(model->aiConversation().isEmpty());
    EXPECT_EQ(model->aiInput(), "What is new?");
    EXPECT_EQ(model->aiOutput(), "");
    EXPECT_EQ(model->aiStatus(), ChatStatus::ready);
    // The panel stays open.
    EXPECT_TRUE(mini->visible);

    model->sendAI();
    ASSERT_TRUE(settle([&] { return h.ai->calls.size() == 1; }));
    // Only the question goes out, with none of the stored chat's turns.
    EXPECT_EQ(h.ai->calls.first().request.messages.size(), 2);
    const QList<AIChatSession> saved = h.readHistory();
    ASSERT_EQ(saved.size(), 2);
    EXPECT_EQ(saved[0].title, "What is new?");
    EXPECT_EQ(saved[0].turns.size(), 1);
    EXPECT_EQ(saved[1].id, stored.id);
    EXPECT_EQ(saved[1].turns, stored.turns);
}

TEST_F(AppModelHistoryLoadingTest, ADraftBegunInTheWorkbenchKeepsItsEmptyChat) {
    model->setAiInput(QStringLiteral("Draft"));
    finishLoading();
    EXPECT_FALSE(model->selectedAIChatID().has_value());
    EXPECT_EQ(model->aiInput(), "Draft");
}

TEST_F(AppModelHistoryLoadingTest, WithoutAChoiceTheNewestStoredChatIsSelected) {
    finishLoading();
    EXPECT_EQ(model->selectedAIChatID(), stored.id);
    EXPECT_EQ(model->aiConversation(), stored.turns);
    EXPECT_EQ(model->aiOutput(), "answer 2");
}

TEST_F(AppModelHistoryLoadingTest, FilesAddedDuringTheLoadAreAttachedOnceItEnds) {
    model->showMiniAI();
    EXPECT_TRUE(model->addAIAttachments({h.sourceFile("dropped.txt", "one")}));
    model->chooseAIAttachments();
    ASSERT_EQ(h.chooser->requests, 1);
    ASSERT_TRUE(h.chooser->complete({h.sourceFile("chosen.txt", "two")}));
    // Nothing is stored yet: the start-up clean-up of the folder may still run.
    EXPECT_TRUE(h.storedAttachmentFiles().isEmpty());
    EXPECT_TRUE(model->pendingAIAttachments().isEmpty());
    EXPECT_FALSE(model->presentedError());

    finishLoading();
    ASSERT_TRUE(settle([&] { return pendingAttachmentNames(*model).size() == 2; }));
    EXPECT_EQ(pendingAttachmentNames(*model), (QStringList{"dropped.txt", "chosen.txt"}));
    EXPECT_FALSE(model->selectedAIChatID().has_value());
    EXPECT_EQ(h.storedAttachmentFiles().size(), 2);
    ASSERT_TRUE(settle([&] { return !model->isAddingAIAttachments(); }));
    EXPECT_EQ(model->aiStatus(), ChatStatus::ready);
}

TEST_F(AppModelHistoryLoadingTest, ANewChatDropsTheFilesWaitingForTheLoad) {
    EXPECT_TRUE(model->addAIAttachments({h.sourceFile("dropped.txt", "one")}));
    model->newAIChat();
    finishLoading();
    spin();
    EXPECT_TRUE(model->pendingAIAttachments().isEmpty());
    EXPECT_TRUE(h.storedAttachmentFiles().isEmpty());
}

// The file dialog stayed open while another attachment began: the chosen files are refused
// with a word, never dropped silently.
TEST_F(AppModelHistoryLoadingTest, ChosenFilesThatCannotBeTakenAreReported) {
    finishLoading();
    model->chooseAIAttachments();
    ASSERT_EQ(h.chooser->requests, 1);
    h.executor->hold();
    ASSERT_TRUE(model->addAIAttachments({h.sourceFile("dropped.txt", "one")}));
    ASSERT_TRUE(model->isAddingAIAttachments());
    ASSERT_TRUE(h.chooser->complete({h.sourceFile("chosen.txt", "two")}));
    EXPECT_EQ(model->presentedError(),
              "The chosen files were not attached because a reply or another attachment is still "
              "in progress. Choose them again when it has finished.");
    h.executor->release();
    ASSERT_TRUE(settle([&] { return !model->isAddingAIAttachments(); }));
    EXPECT_EQ(pendingAttachmentNames(*model), QStringList{"dropped.txt"});
}

} // namespace
