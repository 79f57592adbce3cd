#include "ChatSearchIndex.h"
#include "ChatViewTestSupport.h"

#include <gtest/gtest.h>

using namespace plimbo;
using namespace plimbo::test::chat;

namespace {

AIChatSession chatWith(const QString& title, const QList<AIChatTurn>& turns) {
    const QDateTime time(QDate(2025, 3, 14), QTime(10, 0), Qt::UTC);
    return AIChatSession{QUuid::createUuid(), title, turns, time, time};
}

QStringList titles(const QList<AIChatSession>& chats) {
    QStringList titles;
    for (const AIChatSession& chat : chats) {
        titles.append(chat.title);
    }
    return titles;
}

// The plain definition the index must agree with: each text on its own, ignoring case.
QStringList matching(const QList<AIChatSession>& chats, const QString& search) {
    const QString query = search.trimmed();
    QStringList kept;
    for (const AIChatSession& chat : chats) {
        bool found = query.isEmpty() || chat.title.contains(query, Qt::CaseInsensitive);
        for (const AIChatTurn& turn : chat.turns) {
            found = found || turn.prompt.contains(query, Qt::CaseInsensitive) ||
                    turn.response.contains(query, Qt::CaseInsensitive);
        }
        if (found) {
            kept.append(chat.title);
        }
    }
    return kept;
}

TEST(ChatSearchIndex, AgreesWithSearchingEachTextIgnoringCase) {
    const QList<AIChatSession> chats{
        chatWith("Straße", {turn("Größe?", "ΣΊΣΥΦΟΣ and Ärger"), turn("second", "")}),
        chatWith("Recipe", {turn("Sauce?", "Use crème fraîche.")}),
        chatWith("Emoji", {turn("😀 smile", "wide 𝐁old letters")}),
        chatWith("Empty", {}),
        chatWith("Edges", {turn("ends with ab", "cd starts the reply")}),
    };
    ChatSearchIndex index;
    for (const char* raw :
         {"straße", "STRASSE", "größe", "σίσυφος", "ärger", "ÄRGER", "CRÈME", "creme", "😀", "𝐁OLD",
          "  sauce  ", "", "   ", "ab\ncd", "abcd", "b", "zzz", "recipe sauce"}) {
        const QString search = QString::fromUtf8(raw);
        EXPECT_EQ(titles(index.filter(chats, search)), matching(chats, search))
            << search.toStdString();
    }
}

TEST(ChatSearchIndex, FindsTextThatArrivedAfterTheChatWasIndexed) {
    QList<AIChatSession> chats{chatWith("Live", {turn("Question", "The first words")}),
                               chatWith("Other", {turn("Nothing", "here")})};
    ChatSearchIndex index;
    EXPECT_TRUE(index.prepare(chats, 2));
    EXPECT_TRUE(index.filter(chats, "later words").isEmpty());
    // The reply grows and a turn is added, as while a reply streams.
    chats[0].turns[0].response += " and some later words";
    EXPECT_EQ(titles(index.filter(chats, "later words")), QStringList{"Live"});
    chats[1].turns.append(turn("Another question", "with an answer"));
    EXPECT_EQ(titles(index.filter(chats, "ANSWER")), QStringList{"Other"});
    // A renamed chat is found by its new title.
    chats[1].title = "Renamed";
    EXPECT_EQ(titles(index.filter(chats, "renamed")), QStringList{"Renamed"});
}

TEST(ChatSearchIndex, PreparesAFewChatsAtATime) {
    const QList<AIChatSession> chats{chatWith("A", {turn("a", "a")}), chatWith("B", {}),
                                     chatWith("C", {turn("c", "c")})};
    ChatSearchIndex index;
    EXPECT_FALSE(index.prepare(chats, 1));
    EXPECT_FALSE(index.prepare(chats, 1));
    EXPECT_TRUE(index.prepare(chats, 1));
    EXPECT_TRUE(index.prepare(chats, 1));
    EXPECT_EQ(titles(index.filter(chats, "c")), QStringList{"C"});
}

} // namespace
