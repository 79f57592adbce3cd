#include "AppModelHarness.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class AppModelAttachmentTest : public ::testing::Test {
protected:
    void SetUp() override {
        model = h.makeModel();
        QFuture<void> started = model->start();
        ASSERT_TRUE(settle([&] { return started.isFinished(); }));
    }

    // Adds the files and waits until the ingestion is over.
    void attach(const QList<QUrl>& files) {
        ASSERT_TRUE(model->addAIAttachments(files));
        ASSERT_TRUE(settle([&] { return !model->isAddingAIAttachments(); }));
    }

    QStringList pendingNames() const { return pendingAttachmentNames(*model); }

    QStringList storedFiles() const { return h.storedAttachmentFiles(); }

    AppModelHarness h;
    std::unique_ptr<AppModel> model;
};

TEST_F(AppModelAttachmentTest, AddsFilesInOrderAndReportsEveryFailureTogether) {
    ASSERT_TRUE(
        model->addAIAttachments({h.sourceFile("photo.png", pngBytes(QSize(8, 6), Qt::darkCyan)),
                                 h.sourceFile("empty.txt", ""), h.sourceFile("program.exe", "MZ"),
                                 h.sourceFile("notes.md", "# Notes")}));
    EXPECT_TRUE(model->isAddingAIAttachments());
    EXPECT_EQ(model->aiStatus(), ChatStatus::attaching);
    ASSERT_TRUE(settle([&] { return !model->isAddingAIAttachments(); }));

    EXPECT_EQ(pendingNames(), (QStringList{"photo.png", "notes.md"}));
    EXPECT_EQ(model->presentedError(), "empty.txt: Plimbo could not read this file.\n"
                                       "program.exe: Use an image, PDF, or text/code file.");
    EXPECT_EQ(model->aiStatus(), ChatStatus::ready);
    EXPECT_EQ(storedFiles().size(), 2);
    const QList<AIChatAttachment> pending = model->pendingAIAttachments();
    ASSERT_TRUE(model->imageForAIAttachment(pending[0]).has_value());
    EXPECT_EQ(model->imageForAIAttachment(pending[0])->size(), QSize(8, 6));
    EXPECT_FALSE(model->imageForAIAttachment(pending[1]).has_value());
}

TEST_F(AppModelAttachmentTest, NothingStartsWhileGeneratingOrForNoFiles) {
    EXPECT_FALSE(model->addAIAttachments({}));
    h.storeKey("key");
    model->setAiInput("Hello");
    model->sendAI();
    EXPECT_FALSE(model->addAIAttachments({h.sourceFile("a.txt", "a")}));
    EXPECT_FALSE(model->isAddingAIAttachments());
    EXPECT_EQ(model->aiStatus(), ChatStatus::thinking);
}

TEST_F(AppModelAttachmentTest, AnAbandonedIngestionLeavesNoFileBehind) {
    h.executor->hold();
    ASSERT_TRUE(model->addAIAttachments({h.sourceFile("a.txt", "a"), h.sourceFile("b.txt", "b")}));
    h.executor->runHeld(); // a.txt is prepared; its save is queued
    model->newAIChat();
    EXPECT_FALSE(model->isAddingAIAttachments());
    EXPECT_EQ(model->aiStatus(), ChatStatus::ready);
    h.executor->runHeld(); // the save lands after the ingestion ended...
    h.executor->runHeld(); // ...and is deleted again
    h.executor->release();
    spin(50);
    EXPECT_TRUE(model->pendingAIAttachments().isEmpty());
    EXPECT_TRUE(storedFiles().isEmpty());
    EXPECT_FALSE(model->presentedError().has_value());
}

TEST_F(AppModelAttachmentTest, TheFileDialogAsksForFilesToAttach) {
    int closed = 0;
    EXPECT_TRUE(model->chooseAIAttachments([&] { ++closed; }));
    ASSERT_TRUE(h.chooser->lastOptions.has_value());
    EXPECT_EQ(h.chooser->lastOptions->title, "Attach to Plimbo AI");
    EXPECT_EQ(h.chooser->lastOptions->prompt, "Attach");
    EXPECT_FALSE(h.chooser->lastOptions->allowsDirectories);
    EXPECT_EQ(closed, 0);

    ASSERT_TRUE(h.chooser->complete({h.sourceFile("a.txt", "a")}));
    EXPECT_EQ(closed, 1);
    ASSERT_TRUE(settle([&] { return !model->isAddingAIAttachments(); }));
    EXPECT_EQ(pendingNames(), QStringList{"a.txt"});

    // While a file is read no second dialog opens.
    h.executor->hold();
    model->addAIAttachments({h.sourceFile("b.txt", "b")});
    EXPECT_FALSE(model->chooseAIAttachments());
    EXPECT_EQ(h.chooser->requests, 1);
}

// A cancelled dialog adds nothing; no dialog opens while a reply is generated or where the
// desktop offers none.
TEST_F(AppModelAttachmentTest, TheFileDialogOpensOnlyWhenFilesCanBeTaken) {
    int closed = 0;
    ASSERT_TRUE(model->chooseAIAttachments([&] { ++closed; }));
    ASSERT_TRUE(h.chooser->complete({}));
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(model->isAddingAIAttachments());
    EXPECT_TRUE(model->pendingAIAttachments().isEmpty());
    EXPECT_FALSE(model->presentedError().has_value());

    h.storeKey("key");
    model->setAiInput("Hello");
    model->sendAI();
    const int requests = h.chooser->requests;
    EXPECT_FALSE(model->chooseAIAttachments());
    EXPECT_EQ(h.chooser->requests, requests);

    AppModelDependencies dependencies = h.dependencies();
    dependencies.fileChooser = nullptr;
    AppModel withoutDialog(std::move(dependencies));
    QFuture<void> started = withoutDialog.start();
    ASSERT_TRUE(settle([&] { return started.isFinished() && withoutDialog.isAIHistoryLoaded(); }));
    EXPECT_FALSE(withoutDialog.chooseAIAttachments());
    EXPECT_FALSE(withoutDialog.isAddingAIAttachments());
}

// An ingestion abandoned while a file is read, or after one failed, starts no further step;
// one whose background job the executor drops ends as if abandoned. None leaves a file or an
// error behind.
TEST_F(AppModelAttachmentTest, AnIngestionAbandonedOrDroppedMidwayStartsNothingMore) {
    h.executor->hold();
    ASSERT_TRUE(model->addAIAttachments({h.sourceFile("a.txt", "a")}));
    model->newAIChat();
    h.executor->runHeld(); // a.txt is read after the ingestion ended
    EXPECT_EQ(h.executor->heldCount(), 0) << "the file was still saved";

    ASSERT_TRUE(
        model->addAIAttachments({h.sourceFile("empty.txt", ""), h.sourceFile("b.txt", "b")}));
    model->newAIChat();
    h.executor->runHeld(); // empty.txt fails after the ingestion ended
    EXPECT_EQ(h.executor->heldCount(), 0) << "the next file was still read";

    ASSERT_TRUE(model->addAIAttachments({h.sourceFile("c.txt", "c")}));
    h.executor->dropHeld(); // the read never runs
    ASSERT_TRUE(settle([&] { return !model->isAddingAIAttachments(); }));
    EXPECT_EQ(model->aiStatus(), ChatStatus::ready);

    ASSERT_TRUE(model->addAIAttachments({h.sourceFile("d.txt", "d")}));
    h.executor->runHeld(); // d.txt is read; its save is held...
    ASSERT_EQ(h.executor->heldCount(), 1);
    h.executor->dropHeld(); // ...and never runs
    ASSERT_TRUE(settle([&] { return !model->isAddingAIAttachments(); }));
    EXPECT_EQ(model->aiStatus(), ChatStatus::ready);

    h.executor->release();
    spin(50);
    EXPECT_TRUE(model->pendingAIAttachments().isEmpty());
    EXPECT_TRUE(storedFiles().isEmpty());
    EXPECT_FALSE(model->presentedError().has_value());
    // The composer takes files again.
    attach({h.sourceFile("e.txt", "e")});
    EXPECT_EQ(pendingNames(), QStringList{"e.txt"});
}

// Every view that shows an attachment finds its picture the moment the draft lists it, and
// hears of pictures decoded later.
TEST_F(AppModelAttachmentTest, ImagesAreAtHandWhenListedAndAnnouncedWhenDecoded) {
    QList<bool> imageAtHand;
    QObject::connect(model.get(), &AppModel::pendingAIAttachmentsChanged, model.get(), [&] {
        const QList<AIChatAttachment> pending = model->pendingAIAttachments();
        if (!pending.isEmpty()) {
            imageAtHand.append(model->imageForAIAttachment(pending.last()).has_value());
        }
    });
    QSignalSpy ready(model.get(), &AppModel::attachmentImageReady);
    attach({h.sourceFile("photo.png", pngBytes(QSize(8, 6), Qt::darkCyan))});
    EXPECT_EQ(imageAtHand, QList<bool>{true});
    ASSERT_EQ(ready.count(), 1);
    EXPECT_EQ(ready.first().first().toUuid(), model->pendingAIAttachments().first().id);

    // A sent photo shown again in a chat whose images are decoded after it is selected.
    const AIChatAttachment stored =
        h.storeAttachment(pngBytes(QSize(4, 4), Qt::red), "shot.png", AIChatAttachmentKind::image);
    AIChatSession chat = makeChat("Photo", h.clock->now().addSecs(-60));
    chat.turns.first().attachments = {stored};
    h.writeHistory({chat, makeChat("Newest", h.clock->now())});
    auto reloaded = h.makeModel();
    QSignalSpy decoded(reloaded.get(), &AppModel::attachmentImageReady);
    reloaded->selectAIChat(chat.id);
    EXPECT_FALSE(reloaded->imageForAIAttachment(stored).has_value());
    ASSERT_TRUE(settle([&] { return decoded.count() == 1; }));
    EXPECT_EQ(decoded.first().first().toUuid(), stored.id);
    EXPECT_TRUE(reloaded->imageForAIAttachment(stored).has_value());
}

} // namespace
