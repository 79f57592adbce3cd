#include "AppModelHarness.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace plimbo;
using namespace plimbo::test;

namespace {

const QString kDiskFull = QStringLiteral("No space left on device");

class AppModelDiskFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.storeKey(QStringLiteral("sk-or-test"));
        h.writeHistory({makeChat(QStringLiteral("Earlier"), h.clock->now().addDays(-1), 2)});
        historyBefore = readHistoryBytes();
        model = h.makeModel();
        QFuture<void> started = model->start();
        ASSERT_TRUE(settle([&] { return started.isFinished(); }));
    }

    void attach(const QList<QUrl>& files) {
        ASSERT_TRUE(model->addAIAttachments(files));
        ASSERT_TRUE(settle([&] { return !model->isAddingAIAttachments(); }));
    }
    QStringList pendingNames() const { return pendingAttachmentNames(*model); }
    QStringList storedFiles() const { return h.storedAttachmentFiles(); }
    QByteArray readHistoryBytes() const {
        QFile file(h.historyPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    AppModelHarness h;
    std::unique_ptr<AppModel> model;
    QByteArray historyBefore;
};

} // namespace

// The disk fills up between two files of one ingestion: the first is kept, the second is
// reported by name, and what was pending or saved before stays as it was.
TEST_F(AppModelDiskFailureTest, DiskFullWhileSavingAnAttachmentLosesNothingAlreadyStored) {
    attach({h.sourceFile("a.txt", "first")});
    ASSERT_EQ(pendingNames(), QStringList{"a.txt"});
    const int writesBefore = h.writer->writtenPaths().size();

    h.executor->hold();
    ASSERT_TRUE(
        model->addAIAttachments({h.sourceFile("b.txt", "second"), h.sourceFile("c.txt", "third")}));
    // Runs the background steps one at a time until b.txt is on disk, then fills the disk.
    ASSERT_TRUE(settle([&] {
        h.executor->runHeld();
        return h.writer->writtenPaths().size() == writesBefore + 1;
    }));
    h.writer->setFailure(kDiskFull);
    h.executor->release();
    ASSERT_TRUE(settle([&] { return !model->isAddingAIAttachments(); }));

    EXPECT_EQ(pendingNames(), (QStringList{"a.txt", "b.txt"}));
    ASSERT_TRUE(model->presentedError().has_value());
    EXPECT_TRUE(model->presentedError()->startsWith(QStringLiteral("c.txt: ")))
        << model->presentedError()->toStdString();
    EXPECT_TRUE(model->presentedError()->contains(kDiskFull));
    EXPECT_FALSE(model->presentedError()->contains('\n'));
    EXPECT_EQ(model->aiStatus(), ChatStatus::ready);
    EXPECT_EQ(storedFiles().size(), 2);
    for (const AIChatAttachment& attachment : model->pendingAIAttachments()) {
        EXPECT_TRUE(h.attachmentFileExists(attachment)) << attachment.name.toStdString();
    }
    EXPECT_EQ(readHistoryBytes(), historyBefore);
    EXPECT_EQ(model->aiChats().size(), 1);

    // Every file of an ingestion failing is reported together, and changes nothing either.
    attach({h.sourceFile("d.txt", "fourth"), h.sourceFile("e.txt", "fifth")});
    EXPECT_EQ(pendingNames(), (QStringList{"a.txt", "b.txt"}));
    EXPECT_EQ(model->presentedError()->count('\n'), 1);
    EXPECT_TRUE(model->presentedError()->startsWith(QStringLiteral("d.txt: ")));
    EXPECT_TRUE(model->presentedError()->contains(QStringLiteral("\ne.txt: ")));
    EXPECT_EQ(storedFiles().size(), 2);
    EXPECT_FALSE(model->isAddingAIAttachments());

    // Space again: the program carries on, and the pending files go with the next prompt.
    h.writer->setFailure(std::nullopt);
    attach({h.sourceFile("d.txt", "fourth")});
    EXPECT_EQ(pendingNames(), (QStringList{"a.txt", "b.txt", "d.txt"}));
    model->setAiInput(QStringLiteral("Read these"));
    model->sendAI();
    ASSERT_TRUE(settle([&] { return h.ai->calls.size() == 1; }));
    ASSERT_TRUE(h.ai->calls.first().request.messages.last().content.isParts());
    EXPECT_EQ(h.ai->calls.first().request.messages.last().content.asParts()->size(), 4);
    h.ai->text(QStringLiteral("ok"));
    h.ai->end();
    EXPECT_EQ(model->aiStatus(), ChatStatus::done);
    // The earlier chat's two turns and the new one, which holds the three files.
    qsizetype turns = 0;
    for (const AIChatSession& chat : h.readHistory()) {
        turns += chat.turns.size();
    }
    EXPECT_EQ(turns, 3);
    EXPECT_EQ(model->aiConversation().last().attachments.size(), 3);
}

// A stored file that can no longer be read when the request is built (gone, or something else
// now under its name) becomes a note in the request; the turn is still sent, and the history
// keeps the attachment as it was.
TEST_F(AppModelDiskFailureTest, UnreadableStoredFilesStillSendTheTurnAndStayInTheHistory) {
    attach({h.sourceFile("gone.txt", "one"), h.sourceFile("swapped.txt", "two")});
    const QList<AIChatAttachment> pending = model->pendingAIAttachments();
    ASSERT_EQ(pending.size(), 2);
    const QString folder = h.attachmentsPath();
    ASSERT_TRUE(QFile::remove(QDir(folder).filePath(pending[0].storageFileName)));
    ASSERT_TRUE(QFile::remove(QDir(folder).filePath(pending[1].storageFileName)));
    ASSERT_TRUE(QDir(folder).mkdir(pending[1].storageFileName));

    model->setAiInput(QStringLiteral("Read these"));
    model->sendAI();
    ASSERT_TRUE(settle([&] { return h.ai->calls.size() == 1; }));
    const AIMessage& message = h.ai->calls.first().request.messages.last();
    ASSERT_TRUE(message.content.isParts());
    QStringList texts;
    for (const AIMessage::ContentPart& part : *message.content.asParts()) {
        texts.append(part.text.value_or(QString()));
    }
    EXPECT_TRUE(texts.contains(
        QStringLiteral("Attachment \"gone.txt\" is no longer available on this computer.")));
    EXPECT_TRUE(texts.contains(
        QStringLiteral("Attachment \"swapped.txt\" is no longer available on this computer.")));
    h.ai->text(QStringLiteral("ok"));
    h.ai->end();
    EXPECT_EQ(model->aiStatus(), ChatStatus::done);
    EXPECT_FALSE(model->presentedError().has_value());
    const AIChatTurn stored = h.readHistory().first().turns.last();
    EXPECT_EQ(stored.attachments, pending);
    EXPECT_EQ(stored.state, AIChatTurnState::completed);
}
