#include "ChatList.h"
#include "AppModelHarness.h"
#include "StoredAttachments.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace plimbo;
using namespace plimbo::test;

TEST(ChatListTest, ChatTitles) {
    const QString fortyFour(44, u'a');
    EXPECT_EQ(ChatList::chatTitle(fortyFour), fortyFour);
    EXPECT_EQ(ChatList::chatTitle(fortyFour + "b"), QString(43, u'a') + "…");
    // The cut is trimmed before the ellipsis.
    EXPECT_EQ(ChatList::chatTitle(QString(42, u'a') + " bcd"), QString(42, u'a') + "…");
    EXPECT_EQ(ChatList::chatTitle(QStringLiteral("\tOne\n\ntwo   three ")), "One two three");
    // User-perceived characters: an emoji with a skin tone counts once.
    const QString emoji = QStringLiteral("👍🏽");
    EXPECT_EQ(ChatList::chatTitle(emoji.repeated(44)), emoji.repeated(44));
}

TEST(ChatListTest, WhichFilesTheHistoryRulesKeepAndDrop) {
    const auto file = [](const QString& name) {
        return AIChatAttachment{QUuid::createUuid(),        name, QStringLiteral("text/plain"),
                                AIChatAttachmentKind::text, 1,    name + QStringLiteral(".stored")};
    };
    const QDateTime now = QDateTime::currentDateTimeUtc();
    AIChatSession busy = makeChat(QStringLiteral("Busy"), now, 102);
    busy.turns[0].attachments = {file("y")};
    busy.turns[2].attachments = {file("z")};
    AIChatSession oldest = makeChat(QStringLiteral("Oldest"), now.addDays(-1));
    oldest.turns[0].attachments = {file("x")};

    // A draft's files count as referenced as much as those of stored turns.
    EXPECT_EQ(ChatList::referencedAttachmentFileNames({busy, oldest}, {file("d")}),
              (QSet<QString>{"y.stored", "z.stored", "x.stored", "d.stored"}));

    QList<AIChatSession> chats{oldest};
    for (int i = 0; i < 99; ++i) {
        chats.append(makeChat(QStringLiteral("Filler %1").arg(i), now.addSecs(-i - 1)));
    }
    chats.append(busy);
    const QList<AIChatAttachment> dropped = ChatList::applyHistoryLimits(chats);
    QStringList droppedNames;
    for (const AIChatAttachment& attachment : dropped) {
        droppedNames.append(attachment.name);
    }
    EXPECT_EQ(droppedNames, (QStringList{"y", "x"}));
    ASSERT_EQ(chats.size(), 100);
    EXPECT_EQ(chats.first().title, "Busy");
    EXPECT_EQ(chats.first().turns.size(), 100);
    EXPECT_EQ(chats.first().turns.first().attachments.first().name, "z");
    EXPECT_EQ(chats.last().title, "Filler 98");
}

// Chats made before the history is published join it, and no save before then writes a list
// that lacks the stored chats.
TEST(ChatListTest, ChatsMadeDuringTheLoadAreMergedAndSavedWithTheStoredOnes) {
    AppModelHarness h;
    const AIChatSession stored = makeChat(QStringLiteral("Stored"), h.clock->now().addSecs(-60));
    h.writeHistory({stored});
    QFile file(h.historyPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    StoredAttachments attachments(h.store, *h.executor);
    ChatList chats(h.store, *h.clock, attachments);
    h.executor->hold();
    chats.load(*h.executor);
    chats.ensureSelected(QStringLiteral("Made meanwhile"));
    const QUuid made = *chats.selectedID();
    chats.persist();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    file.close();

    h.executor->release();
    ASSERT_TRUE(settle([&] { return chats.isLoaded(); }));
    ASSERT_EQ(chats.chats().size(), 2);
    EXPECT_EQ(chats.chats()[0].id, made);
    EXPECT_EQ(chats.chats()[1].id, stored.id);
    EXPECT_EQ(chats.selectedID(), made);
    EXPECT_EQ(h.readHistory(), chats.chats());
}

TEST(ChatListTest, RenamingKeepsPlaceAndTimeAndIgnoresBlanks) {
    AppModelHarness h;
    const AIChatSession newer = makeChat("Newer", h.clock->now());
    const AIChatSession older = makeChat("Older", h.clock->now().addSecs(-60), 2);
    h.writeHistory({older, newer});
    StoredAttachments attachments(h.store, *h.executor);
    ChatList chats(h.store, *h.clock, attachments);
    chats.load(*h.executor);
    ASSERT_TRUE(settle([&] { return chats.isLoaded(); }));
    const auto titles = [&] {
        QStringList result;
        for (const AIChatSession& chat : chats.chats()) {
            result.append(chat.title);
        }
        return result;
    };

    chats.rename(older.id, "  \n ");
    chats.rename(QUuid::createUuid(), "Ghost");
    EXPECT_EQ(titles(), (QStringList{"Newer", "Older"}));
    EXPECT_FALSE(h.writer->writtenPaths().contains(h.historyPath()));

    chats.rename(older.id, "  Renamed ");
    EXPECT_EQ(titles(), (QStringList{"Newer", "Renamed"}));
    EXPECT_EQ(chats.chats().last().updatedAt, older.updatedAt);
    EXPECT_EQ(h.readHistory().last().title, "Renamed");
}
