#include "AppModelHarness.h"
#include "FailingStoreFileCalls.h"
#include "FakeFileLocations.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class AppModelHistoryTest : public ::testing::Test {
protected:
    AppModelHarness h;

    void writeCorruptHistory() {
        QDir().mkpath(QFileInfo(h.historyPath()).path());
        QFile file(h.historyPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[{\"id\": 3}]");
    }

    // The harness's store, with system calls that fail on request.
    std::shared_ptr<FailingStoreFileCalls> useFailingCalls() {
        auto calls = std::make_shared<FailingStoreFileCalls>();
        h.store = std::make_shared<AIChatHistoryStore>(
            h.historyPath(), h.attachmentsPath(), FakeFileLocations(h.root.path(), h.root.path()),
            h.writer, h.clock, calls);
        return calls;
    }

    QByteArray fileBytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(AppModelHistoryTest, LoadingRepairsTheHistoryAndSavesItOnce) {
    const QDateTime now = h.clock->now();
    AIChatSession older = makeChat(QStringLiteral("Older"), now.addSecs(-60), 150);
    older.turns.last().state = AIChatTurnState::streaming;
    older.turns.last().failureMessage = QStringLiteral("kept");
    AIChatSession tieA = makeChat(QStringLiteral("Tie A"), now);
    AIChatSession tieB = makeChat(QStringLiteral("Tie B"), now);
    tieB.turns.last().response = QStringLiteral("newest answer");
    h.writeHistory({older, tieA, tieB});

    auto model = h.makeModel();
    const QList<AIChatSession> chats = model->aiChats();
    ASSERT_EQ(chats.size(), 3);
    // Newest first; equal times keep their file order.
    EXPECT_EQ(chats[0].title, "Tie A");
    EXPECT_EQ(chats[1].title, "Tie B");
    EXPECT_EQ(chats[2].turns.size(), 100);
    EXPECT_EQ(chats[2].turns.first().prompt, "prompt 50");
    EXPECT_EQ(chats[2].turns.last().state, AIChatTurnState::stopped);
    EXPECT_EQ(chats[2].turns.last().failureMessage, "kept");
    EXPECT_EQ(h.writer->writtenPaths(), QStringList{h.historyPath()});
    EXPECT_EQ(h.readHistory(), chats);
    // The newest chat is selected.
    EXPECT_EQ(model->selectedAIChatID(), tieA.id);
    EXPECT_EQ(model->aiConversation(), tieA.turns);
    EXPECT_EQ(model->aiOutput(), "answer 0");
}

TEST_F(AppModelHistoryTest, AHealthyOrMissingHistoryIsNotRewritten) {
    auto empty = h.makeModel();
    EXPECT_TRUE(empty->aiChats().isEmpty());
    EXPECT_FALSE(empty->selectedAIChatID().has_value());
    EXPECT_EQ(empty->aiOutput(), "");
    EXPECT_FALSE(QFile::exists(h.historyPath()));

    QList<AIChatSession> many;
    for (int i = 0; i < 101; ++i) {
        many.append(makeChat(QStringLiteral("Chat %1").arg(i), h.clock->now().addSecs(i)));
    }
    h.writeHistory(many.mid(0, 100));
    h.makeModel();
    EXPECT_TRUE(h.writer->writtenPaths().isEmpty());

    h.writeHistory(many);
    auto trimmed = h.makeModel();
    EXPECT_EQ(trimmed->aiChats().size(), 100);
    EXPECT_EQ(trimmed->aiChats().last().title, "Chat 1");
    EXPECT_EQ(h.readHistory().size(), 100);
}

TEST_F(AppModelHistoryTest, StartDeletesOnlyUnreferencedAttachmentFiles) {
    const AIChatAttachment kept = h.storeAttachment("kept", QStringLiteral("kept.txt"));
    const AIChatAttachment orphan = h.storeAttachment("orphan", QStringLiteral("orphan.txt"));
    AIChatSession chat = makeChat(QStringLiteral("Chat"), h.clock->now());
    chat.turns.first().attachments = {kept};
    h.writeHistory({chat});

    auto model = h.makeModel();
    QFuture<void> started = model->start();
    ASSERT_TRUE(settle([&] { return started.isFinished(); }));
    EXPECT_TRUE(h.attachmentFileExists(kept));
    EXPECT_FALSE(h.attachmentFileExists(orphan));
}

TEST_F(AppModelHistoryTest, AnUnreadableHistoryIsMovedAsideWithItsAttachments) {
    const AIChatAttachment file = h.storeAttachment("bytes", QStringLiteral("a.txt"));
    writeCorruptHistory();

    auto model = h.makeModel();
    const QString stamp = QStringLiteral("2001-01-01T00-00-00Z");
    const QString preserved = QStringLiteral("AIChats-unreadable-") + stamp + ".json";
    EXPECT_EQ(model->presentedError(),
              "Chat history could not be read. The original file was preserved as " + preserved +
                  ".");
    EXPECT_TRUE(model->aiChats().isEmpty());
    const QDir folder = QFileInfo(h.historyPath()).dir();
    EXPECT_TRUE(folder.exists(preserved));
    // The preserved file's attachments went with it, so no clean-up can delete them.
    EXPECT_TRUE(QFile::exists(
        folder.filePath("AIChatAttachments-unreadable-" + stamp + "/" + file.storageFileName)));
    QFuture<void> started = model->start();
    ASSERT_TRUE(settle([&] { return started.isFinished(); }));
    EXPECT_TRUE(folder.exists(preserved));

    // The next save starts a fresh history.
    h.storeKey(QStringLiteral("key"));
    model->setAiInput(QStringLiteral("Hello"));
    model->sendAI();
    EXPECT_EQ(h.readHistory().size(), 1);
}

TEST_F(AppModelHistoryTest, AHistoryThatCannotBeMovedDisablesSavingAndCleanUp) {
    const AIChatAttachment file = h.storeAttachment("bytes", QStringLiteral("a.txt"));
    writeCorruptHistory();
    // A set-aside file of this very second already exists, so the move fails.
    const QDir folder = QFileInfo(h.historyPath()).dir();
    QFile taken(folder.filePath("AIChats-unreadable-2001-01-01T00-00-00Z.json"));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.close();
    const QByteArray corrupt = [&] {
        QFile f(h.historyPath());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

    auto model = h.makeModel();
    EXPECT_EQ(model->presentedError(), "Chat history could not be read and was left unchanged. "
                                       "Saving is disabled for this session.");
    QFuture<void> started = model->start();
    ASSERT_TRUE(settle([&] { return started.isFinished(); }));
    EXPECT_TRUE(h.attachmentFileExists(file));

    h.storeKey(QStringLiteral("key"));
    model->setAiInput(QStringLiteral("Hello"));
    model->sendAI();
    EXPECT_EQ(model->aiChats().size(), 1);
    QFile history(h.historyPath());
    ASSERT_TRUE(history.open(QIODevice::ReadOnly));
    EXPECT_EQ(history.readAll(), corrupt);
}

// A disk that fails while the history is read: the file is set aside whole and the user told so,
// and the program goes on with an empty list that it can save.
TEST_F(AppModelHistoryTest, AReadErrorSetsTheHistoryAsideWholeAndTheProgramGoesOn) {
    h.writeHistory({makeChat(QStringLiteral("Stored"), h.clock->now(), 3)});
    const QByteArray stored = fileBytes(h.historyPath());
    const auto calls = useFailingCalls();
    calls->readError = EIO;

    auto model = h.makeModel();
    const QString preserved = QStringLiteral("AIChats-unreadable-2001-01-01T00-00-00Z.json");
    EXPECT_EQ(model->presentedError(),
              "Chat history could not be read. The original file was preserved as " + preserved +
                  ".");
    EXPECT_TRUE(model->aiChats().isEmpty());
    EXPECT_EQ(fileBytes(QFileInfo(h.historyPath()).dir().filePath(preserved)), stored);

    calls->readError.reset();
    QFuture<void> started = model->start();
    ASSERT_TRUE(settle([&] { return started.isFinished(); }));
    h.storeKey(QStringLiteral("key"));
    model->setAiInput(QStringLiteral("Hello"));
    model->sendAI();
    EXPECT_EQ(h.readHistory().size(), 1);
}

// Clean-up at start that the disk refuses (listing, inspecting or deleting a file) ends quietly:
// start finishes, every file stays, and the history works as before.
TEST_F(AppModelHistoryTest, AttachmentCleanUpFailuresLeaveFilesAndStartFinishes) {
    const AIChatAttachment kept = h.storeAttachment("kept", QStringLiteral("kept.txt"));
    const AIChatAttachment orphan = h.storeAttachment("orphan", QStringLiteral("orphan.txt"));
    AIChatSession chat = makeChat(QStringLiteral("Chat"), h.clock->now());
    chat.turns.first().attachments = {kept};
    h.writeHistory({chat});
    const auto calls = useFailingCalls();

    const std::vector<std::function<void()>> failures = {
        [&] { calls->readdirError = EIO; },
        [&] { calls->fstatatError = EIO; },
        [&] { calls->unlinkError = EROFS; },
    };
    for (const auto& fail : failures) {
        calls->readdirError.reset();
        calls->fstatatError.reset();
        calls->unlinkError.reset();
        fail();
        auto model = h.makeModel();
        EXPECT_FALSE(model->presentedError());
        QFuture<void> started = model->start();
        ASSERT_TRUE(settle([&] { return started.isFinished(); }));
        EXPECT_TRUE(h.attachmentFileExists(kept));
        EXPECT_TRUE(h.attachmentFileExists(orphan));
        EXPECT_EQ(model->aiChats().size(), 1);
        EXPECT_FALSE(model->presentedError());
    }
}

// The windows come up while the history is still read; until it is published nothing can be
// sent or saved over it, and the draft typed meanwhile stays, in its new chat, for the user to
// send.
TEST_F(AppModelHistoryTest, NothingIsSentAttachedOrSavedBeforeTheHistoryIsLoaded) {
    h.storeKey(QStringLiteral("key"));
    AIChatSession stored = makeChat(QStringLiteral("Stored"), h.clock->now(), 3);
    stored.turns.last().state = AIChatTurnState::streaming;
    h.writeHistory({stored});
    const QByteArray before = fileBytes(h.historyPath());

    h.executor->hold();
    auto model = h.makeLoadingModel();
    QFuture<void> started = model->start();
    ASSERT_TRUE(settle([&] { return started.isFinished(); }));
    EXPECT_FALSE(model->isAIHistoryLoaded());
    EXPECT_TRUE(model->aiChats().isEmpty());
    EXPECT_EQ(model->aiStatus(), ChatStatus::loadingHistory);

    model->newAIChat();
    model->renameAIChat(stored.id, QStringLiteral("Renamed"));
    model->deleteAIChat(stored.id);
    model->retryAIChatTurn(stored.turns.first());
    model->setAiInput(QStringLiteral("Early question"));
    model->sendAI();
    EXPECT_EQ(model->aiStatus(), ChatStatus::loadingHistory);
    EXPECT_EQ(model->aiInput(), "Early question");
    EXPECT_FALSE(model->isAddingAIAttachments());
    EXPECT_EQ(fileBytes(h.historyPath()), before);

    QSignalSpy loaded(model.get(), &AppModel::aiHistoryLoadedChanged);
    h.executor->release();
    ASSERT_TRUE(settle([&] { return model->isAIHistoryLoaded(); }));
    EXPECT_EQ(loaded.count(), 1);
    ASSERT_EQ(model->aiChats().size(), 1);
    EXPECT_EQ(model->aiChats().first().title, "Stored");
    EXPECT_EQ(model->aiChats().first().turns.last().state, AIChatTurnState::stopped);
    EXPECT_FALSE(model->selectedAIChatID().has_value());
    EXPECT_EQ(model->aiOutput(), "");
    EXPECT_EQ(model->aiStatus(), ChatStatus::ready);
    EXPECT_TRUE(h.ai->calls.isEmpty());

    model->sendAI();
    ASSERT_TRUE(settle([&] { return !h.ai->calls.isEmpty(); }));
    const QList<AIChatSession> saved = h.readHistory();
    ASSERT_EQ(saved.size(), 2);
    ASSERT_EQ(saved[0].turns.size(), 1);
    EXPECT_EQ(saved[0].turns.last().prompt, "Early question");
    EXPECT_EQ(saved[1].turns.size(), 3);
}

// A history read the executor drops unrun is treated like an unreadable file: the user is told,
// and the file is never saved over.
TEST_F(AppModelHistoryTest, AHistoryReadThatNeverRunsDisablesSaving) {
    h.writeHistory({makeChat(QStringLiteral("Stored"), h.clock->now(), 2)});
    const QByteArray before = fileBytes(h.historyPath());
    h.executor->hold();
    auto model = h.makeLoadingModel();
    h.executor->dropHeld(); // the history read, with the keyring's
    ASSERT_TRUE(settle([&] { return model->isAIHistoryLoaded(); }));
    EXPECT_EQ(model->presentedError(), "Chat history could not be read and was left unchanged. "
                                       "Saving is disabled for this session.");
    EXPECT_TRUE(model->aiChats().isEmpty());
    EXPECT_EQ(model->aiStatus(), ChatStatus::ready);

    h.executor->release();
    h.storeKey(QStringLiteral("key"));
    model->setAiInput(QStringLiteral("Hello"));
    model->sendAI();
    ASSERT_TRUE(settle([&] { return !h.ai->calls.isEmpty(); }));
    EXPECT_EQ(model->aiChats().size(), 1);
    EXPECT_EQ(fileBytes(h.historyPath()), before);
    EXPECT_TRUE(h.writer->writtenPaths().isEmpty());
}

// Quitting while the history is read loses nothing: the file is never saved over.
TEST_F(AppModelHistoryTest, QuittingBeforeTheHistoryIsLoadedLeavesTheFile) {
    h.writeHistory({makeChat(QStringLiteral("Stored"), h.clock->now(), 2)});
    const QByteArray before = fileBytes(h.historyPath());
    h.executor->hold();
    auto model = h.makeLoadingModel();
    model->setAiInput(QStringLiteral("draft"));
    model->sendAI();
    model.reset();
    h.executor->release();
    QTest::qWait(50);
    EXPECT_EQ(fileBytes(h.historyPath()), before);
    EXPECT_TRUE(h.writer->writtenPaths().isEmpty());
}

} // namespace
