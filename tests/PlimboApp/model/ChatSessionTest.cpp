#include "ChatSession.h"
#include "AppModelHarness.h"
#include "ChatComposer.h"
#include "ChatList.h"
#include "ChatReply.h"
#include "StoredAttachments.h"

#include <gtest/gtest.h>

using namespace plimbo;
using namespace plimbo::test;

namespace {

// The session over a loaded history, for what it does without a reply: moving between chats
// and copying. It never sends.
class ChatSessionTest : public ::testing::Test {
protected:
    // Writes the history and waits until the list has published it.
    void load(const QList<AIChatSession>& stored) {
        h.writeHistory(stored);
        chats.load(*h.executor);
        ASSERT_TRUE(settle([&] { return chats.isLoaded(); }));
    }

    QStringList titles() const {
        QStringList result;
        for (const AIChatSession& chat : chats.chats()) {
            result.append(chat.title);
        }
        return result;
    }

    AppModelHarness h;
    StoredAttachments attachments{h.store, *h.executor};
    ChatList chats{h.store, *h.clock, attachments};
    ChatComposer composer{h.store, *h.executor, attachments, chats, h.chooser.get()};
    ChatSession session{chats,
                        composer,
                        attachments,
                        *h.clock,
                        [](const QUuid&) { return std::unique_ptr<ChatReply>(); },
                        h.ai,
                        h.pasteboard.get()};
};

} // namespace

TEST(ChatSessionRules, DefaultPrompts) {
    const AIChatAttachment pdf{QUuid::createUuid(),
                               QStringLiteral("a.pdf"),
                               QStringLiteral("application/pdf"),
                               AIChatAttachmentKind::pdf,
                               1,
                               QStringLiteral("x.pdf")};
    EXPECT_EQ(ChatSession::defaultPrompt({pdf}), "Describe and analyze the attached file: a.pdf");
    EXPECT_EQ(ChatSession::defaultPrompt({pdf, pdf, pdf}),
              "Describe and analyze these 3 attached files.");
}

// A merged or hand-edited history may name one chat id or one file twice: deleting a chat
// takes only that chat, and only the files no other chat still names.
TEST_F(ChatSessionTest, DeletingAChatKeepsWhatAnotherChatUses) {
    const AIChatAttachment notes = h.storeAttachment("notes", "notes.txt");
    AIChatSession first = makeChat("First", h.clock->now());
    AIChatSession twin = makeChat("Twin", h.clock->now().addSecs(-10));
    twin.id = first.id;
    AIChatSession sharer = makeChat("Sharer", h.clock->now().addSecs(-20));
    first.turns.first().attachments = {notes};
    sharer.turns.first().attachments = {notes};
    load({first, twin, sharer});
    ASSERT_EQ(titles(), (QStringList{"First", "Twin", "Sharer"}));
    EXPECT_NE(chats.chats()[0].id, chats.chats()[1].id);

    session.deleteChat(first.id);
    EXPECT_EQ(titles(), (QStringList{"Twin", "Sharer"}));
    spin();
    EXPECT_TRUE(h.attachmentFileExists(notes));
    session.deleteChat(chats.chats()[1].id);
    EXPECT_EQ(titles(), QStringList{"Twin"});
    EXPECT_TRUE(settle([&] { return !h.attachmentFileExists(notes); }));
    ASSERT_EQ(h.readHistory().size(), 1);
    EXPECT_EQ(h.readHistory().first().title, "Twin");
}

TEST_F(ChatSessionTest, AChatWithoutTurnsShowsNoAnswer) {
    const AIChatSession empty{QUuid::createUuid(),
                              "Empty",
                              {},
                              h.clock->now().addSecs(-120),
                              h.clock->now().addSecs(-120)};
    load({makeChat("Older", h.clock->now().addSecs(-60), 2), makeChat("Newer", h.clock->now()),
          empty});
    ASSERT_EQ(session.output(), "answer 0");
    session.selectChat(empty.id);
    EXPECT_EQ(chats.selectedID(), empty.id);
    EXPECT_TRUE(chats.conversation().isEmpty());
    EXPECT_EQ(session.output(), "");
    EXPECT_EQ(session.status(), ChatStatus::ready);
}

TEST_F(ChatSessionTest, CopyingAReplyPutsItOnTheClipboard) {
    load({makeChat("Newer", h.clock->now())});
    session.copyMessage("");
    EXPECT_EQ(h.pasteboard->writes(), 0);
    EXPECT_EQ(session.status(), ChatStatus::ready);
    session.copyMessage("answer");
    EXPECT_EQ(h.pasteboard->text(), "answer");
    EXPECT_EQ(session.status(), ChatStatus::copied);
}
