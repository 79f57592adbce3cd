#include "AppModelHarness.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class AppModelChatListTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.storeKey("key");
        image = h.storeAttachment(pngBytes(QSize(4, 4), Qt::red), "shot.png",
                                  AIChatAttachmentKind::image);
        notes = h.storeAttachment("notes", "notes.txt");
        newer = makeChat("Newer", h.clock->now());
        newer.turns.first().attachments = {notes};
        older = makeChat("Older", h.clock->now().addSecs(-60), 2);
        older.turns.last().attachments = {image};
        h.writeHistory({older, newer});
        model = h.makeModel();
    }

    QStringList titles() const {
        QStringList result;
        for (const AIChatSession& chat : model->aiChats()) {
            result.append(chat.title);
        }
        return result;
    }

    QStringList storedFiles() const { return h.storedAttachmentFiles(); }

    AppModelHarness h;
    AIChatAttachment image;
    AIChatAttachment notes;
    AIChatSession newer;
    AIChatSession older;
    std::unique_ptr<AppModel> model;
};

TEST_F(AppModelChatListTest, SelectingAChatStopsTheReplyAndLoadsItsImages) {
    model->setAiInput("Question");
    model->sendAI();
    ASSERT_TRUE(settle([&] { return !h.ai->calls.isEmpty(); }));

    // Selecting the chat already shown changes nothing: the reply goes on.
    model->selectAIChat(newer.id);
    EXPECT_TRUE(model->isGenerating());

    model->setAiInput("draft");
    model->selectAIChat(older.id);
    EXPECT_FALSE(model->isGenerating());
    EXPECT_EQ(model->aiChats().first().turns.last().state, AIChatTurnState::stopped);
    EXPECT_EQ(model->selectedAIChatID(), older.id);
    EXPECT_EQ(model->aiConversation(), older.turns);
    EXPECT_EQ(model->aiOutput(), "answer 1");
    EXPECT_EQ(model->aiInput(), "");
    EXPECT_EQ(model->aiStatus(), ChatStatus::ready);
    ASSERT_TRUE(settle([&] { return model->imageForAIAttachment(image).has_value(); }));
}

TEST_F(AppModelChatListTest, ANewChatClearsTheComposerAndItsFiles) {
    ASSERT_TRUE(model->addAIAttachments({h.sourceFile("a.txt", "a")}));
    ASSERT_TRUE(settle([&] { return model->pendingAIAttachments().size() == 1; }));
    const AIChatAttachment pending = model->pendingAIAttachments().first();
    model->setAiInput("draft");

    model->newAIChat();
    EXPECT_FALSE(model->selectedAIChatID().has_value());
    EXPECT_TRUE(model->aiConversation().isEmpty());
    EXPECT_TRUE(model->pendingAIAttachments().isEmpty());
    EXPECT_EQ(model->aiInput(), "");
    EXPECT_EQ(model->aiOutput(), "");
    EXPECT_EQ(model->aiChats().size(), 2); // no record until the first send
    ASSERT_TRUE(settle([&] { return !h.attachmentFileExists(pending); }));
}

TEST_F(AppModelChatListTest, DeletingChatsRemovesTheirFilesAndSelectsTheNewest) {
    model->deleteAIChat(newer.id);
    EXPECT_EQ(titles(), QStringList{"Older"});
    EXPECT_EQ(model->selectedAIChatID(), older.id);
    EXPECT_EQ(model->aiConversation(), older.turns);
    EXPECT_EQ(h.readHistory().size(), 1);
    ASSERT_TRUE(settle([&] { return !h.attachmentFileExists(notes); }));
    EXPECT_TRUE(h.attachmentFileExists(image));

    // With no chat selected, deleting another one still selects the newest left.
    h.clock->advanceSeconds(5);
    model->newAIChat();
    model->deleteAIChat(QUuid::createUuid());
    EXPECT_EQ(model->selectedAIChatID(), older.id);

    // Deleting the last chat leaves the composer's files alone.
    ASSERT_TRUE(model->addAIAttachments({h.sourceFile("keep.txt", "k")}));
    ASSERT_TRUE(settle([&] { return model->pendingAIAttachments().size() == 1; }));
    model->setAiInput("draft");
    model->deleteAIChat(older.id);
    EXPECT_TRUE(model->aiChats().isEmpty());
    EXPECT_FALSE(model->selectedAIChatID().has_value());
    EXPECT_EQ(model->aiInput(), "");
    EXPECT_EQ(model->pendingAIAttachments().size(), 1);
    ASSERT_TRUE(settle([&] { return !h.attachmentFileExists(image); }));
}

TEST_F(AppModelChatListTest, RetrySendsTheTurnAgainWithFreshCopies) {
    const AIChatTurn original = older.turns.last();
    model->selectAIChat(older.id);
    model->retryAIChatTurn(original);
    EXPECT_TRUE(model->isAddingAIAttachments());
    EXPECT_EQ(model->aiStatus(), ChatStatus::attaching);
    ASSERT_TRUE(settle([&] { return !h.ai->calls.isEmpty(); }));

    const AIChatTurn resent = model->aiConversation().last();
    EXPECT_EQ(resent.prompt, original.prompt);
    ASSERT_EQ(resent.attachments.size(), 1);
    EXPECT_NE(resent.attachments.first().id, image.id);
    EXPECT_NE(resent.attachments.first().storageFileName, image.storageFileName);
    EXPECT_TRUE(h.attachmentFileExists(resent.attachments.first()));
    EXPECT_TRUE(model->imageForAIAttachment(resent.attachments.first()).has_value());
    EXPECT_EQ(model->aiConversation()[1], original);
    EXPECT_FALSE(model->isAddingAIAttachments());
}

TEST_F(AppModelChatListTest, RetryWithAMissingFileSendsNothingAndKeepsNoCopy) {
    AIChatTurn turn = older.turns.last();
    const AIChatAttachment gone = h.storeAttachment("gone", "gone.txt");
    h.store->removeAttachment(gone);
    turn.attachments.append(gone);
    const QStringList before = storedFiles();

    model->retryAIChatTurn(turn);
    ASSERT_TRUE(settle([&] { return !model->isAddingAIAttachments(); }));
    EXPECT_EQ(model->presentedError(),
              "Retry stopped because these attachments are no longer available: gone.txt.");
    EXPECT_EQ(model->aiStatus(), ChatStatus::ready);
    EXPECT_TRUE(model->pendingAIAttachments().isEmpty());
    EXPECT_EQ(storedFiles(), before);
    EXPECT_TRUE(h.ai->calls.isEmpty());

    // Refused while a reply is generated.
    model->setAiInput("Hello");
    model->sendAI();
    model->retryAIChatTurn(older.turns.last());
    EXPECT_FALSE(model->isAddingAIAttachments());
}

// A retry whose copying job is dropped, or that is abandoned while it copies, sends nothing and
// keeps no copy.
TEST_F(AppModelChatListTest, ARetryDroppedOrAbandonedWhileCopyingKeepsNoCopy) {
    const AIChatTurn turn = older.turns.last();
    const QStringList before = storedFiles();

    h.executor->hold();
    model->retryAIChatTurn(turn);
    ASSERT_TRUE(model->isAddingAIAttachments());
    h.executor->dropHeld();
    ASSERT_TRUE(settle([&] { return !model->isAddingAIAttachments(); }));
    EXPECT_EQ(model->aiStatus(), ChatStatus::ready);

    model->retryAIChatTurn(turn);
    model->newAIChat();
    h.executor->runHeld(); // the copy is made after the retry ended; its deletion is held
    EXPECT_TRUE(model->pendingAIAttachments().isEmpty());
    EXPECT_EQ(storedFiles().size(), before.size() + 1);
    h.executor->release();
    ASSERT_TRUE(settle([&] { return storedFiles() == before; }));

    spin(50);
    EXPECT_TRUE(model->pendingAIAttachments().isEmpty());
    EXPECT_FALSE(model->isAddingAIAttachments());
    EXPECT_FALSE(model->presentedError().has_value());
    EXPECT_TRUE(h.ai->calls.isEmpty());
}

// A retry superseded after its copies went pending takes them back with their files.
TEST_F(AppModelChatListTest, ASupersededRetryLeavesNoPendingCopies) {
    const AIChatTurn turn = older.turns.last();
    model->deleteAIChat(older.id);
    h.executor->hold();
    model->retryAIChatTurn(turn);
    h.executor->runHeld(); // the copy is made and goes pending; its image preload is queued
    ASSERT_EQ(model->pendingAIAttachments().size(), 1);
    const AIChatAttachment copy = model->pendingAIAttachments().first();
    ASSERT_TRUE(h.attachmentFileExists(copy));

    // Deleting the selected (and last) chat ends the retry but keeps the composer's files.
    model->deleteAIChat(newer.id);
    EXPECT_EQ(model->aiStatus(), ChatStatus::ready);
    h.executor->release();
    ASSERT_TRUE(settle([&] { return !h.attachmentFileExists(copy); }));
    EXPECT_TRUE(model->pendingAIAttachments().isEmpty());
    EXPECT_FALSE(model->imageForAIAttachment(copy).has_value());
    EXPECT_TRUE(h.ai->calls.isEmpty());
}

// The draft of a superseded retry sent before its images were decoded: the turn keeps its files.
TEST_F(AppModelChatListTest, ASupersededRetryNeverDeletesTheFilesOfASentTurn) {
    const AIChatTurn turn = older.turns.last();
    model->deleteAIChat(older.id);
    h.executor->hold();
    model->retryAIChatTurn(turn);
    h.executor->runHeld(); // the copy goes pending; its image preload is held
    ASSERT_EQ(model->pendingAIAttachments().size(), 1);
    const AIChatAttachment copy = model->pendingAIAttachments().first();

    model->deleteAIChat(newer.id);
    model->setAiInput("Look again");
    model->sendAI();
    ASSERT_EQ(model->aiConversation().size(), 1);
    ASSERT_EQ(model->aiConversation().first().attachments, QList<AIChatAttachment>{copy});
    h.executor->release();
    ASSERT_TRUE(settle([&] { return h.executor->heldCount() == 0 && !h.ai->calls.isEmpty(); }));
    QTest::qWait(100); // long enough for the superseded retry to end and delete what it would

    EXPECT_TRUE(h.attachmentFileExists(copy));
    EXPECT_EQ(h.readHistory().first().turns.first().attachments, QList<AIChatAttachment>{copy});
}

} // namespace
