#include "ChatHistoryRow.h"
#include "ChatViewTestSupport.h"
#include "MarkdownText.h"
#include "SymbolButton.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMenu>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test::chat;

namespace {

AIChatSession chatWith(const QList<AIChatTurn>& turns, const QString& title = "Chat") {
    const QDateTime time(QDate(2025, 3, 14), QTime(10, 0), Qt::UTC);
    return AIChatSession{QUuid::createUuid(), title, turns, time, time};
}

QDateTime local(int year, int month, int day, int hour, int minute) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::LocalTime).toUTC();
}

TEST(ChatHistoryRow, PreviewOfTheLastTurn) {
    EXPECT_EQ(ChatHistoryRow::preview(chatWith({})), "Empty chat");
    EXPECT_EQ(ChatHistoryRow::preview(chatWith({turn("old", "first"), turn("Prompt only", "")})),
              "Prompt only");
    EXPECT_EQ(ChatHistoryRow::preview(chatWith({turn("q", "  One\tparagraph\n\n   two  lines\n")})),
              "One paragraph two lines");
    // A reply of spaces is not empty: the preview is, and the prompt is not used.
    EXPECT_EQ(ChatHistoryRow::preview(chatWith({turn("prompt", "   ")})), "");
    EXPECT_EQ(ChatHistoryRow::preview(chatWith({turn("q", "abc def ghi")}), 5), "abc d");
}

TEST(ChatHistoryRow, AReplyOpeningWithCodeShowsItsFirstLine) {
    EXPECT_EQ(ChatHistoryRow::preview(
                  chatWith({turn("q", "\n```python\n\n    def f():  # *not* markdown\n"
                                      "        return 1\n```\nAfter")})),
              "def f(): # *not* markdown");
    // Still streaming, and with an empty block first: the first line that has text.
    EXPECT_EQ(ChatHistoryRow::preview(chatWith({turn("q", "```sh\nls -l")})), "ls -l");
    EXPECT_EQ(ChatHistoryRow::preview(chatWith({turn("q", "```\n```\nThen **text**\nmore")})),
              "Then **text** more");
    EXPECT_EQ(ChatHistoryRow::preview(chatWith({turn("q", "```js")})), "");

    const AIChatSession chat = chatWith({turn("q", "```cpp\n# include <x>\n```")});
    ChatHistoryRow row(chat, false, chat.updatedAt, {}, {}, {});
    row.resize(240, 56);
    // Shown as typed, not as a heading.
    EXPECT_EQ(row.previewText()->displayedText(), "# include <x>");
    EXPECT_EQ(row.selectButton()->accessibleDescription(), "# include <x>");
}

TEST(ChatHistoryRow, TimesTodayYesterdayAndEarlier) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QDateTime now = local(2025, 3, 14, 15, 0);
    EXPECT_EQ(ChatHistoryRow::timestamp(local(2025, 3, 14, 9, 5), now, english), "9:05 AM");
    EXPECT_EQ(ChatHistoryRow::timestamp(local(2025, 3, 14, 0, 0), now, english), "12:00 AM");
    EXPECT_EQ(ChatHistoryRow::timestamp(local(2025, 3, 13, 23, 59), now, english), "Yesterday");
    EXPECT_EQ(ChatHistoryRow::timestamp(local(2025, 3, 13, 0, 1), now, english), "Yesterday");
    EXPECT_EQ(ChatHistoryRow::timestamp(local(2025, 3, 12, 23, 59), now, english), "Mar 12, 2025");
    EXPECT_EQ(ChatHistoryRow::timestamp(local(2024, 12, 2, 8, 0), now, english), "Dec 2, 2024");
    // Across a new year, yesterday is still yesterday.
    EXPECT_EQ(
        ChatHistoryRow::timestamp(local(2024, 12, 31, 20, 0), local(2025, 1, 1, 8, 0), english),
        "Yesterday");
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(ChatHistoryRow::timestamp(local(2024, 12, 2, 8, 0), now, german), "2. Dez. 2024");
}

TEST(ChatHistoryRow, ShowsTheChatAndRunsItsActions) {
    int selects = 0;
    int renames = 0;
    int deletes = 0;
    const AIChatSession chat = chatWith({turn("q", "The **answer**")}, "Title <i>as typed</i>");
    ChatHistoryRow row(
        chat, false, chat.updatedAt, [&] { ++selects; }, [&] { ++renames; }, [&] { ++deletes; });
    row.resize(240, 56);
    row.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&row));
    EXPECT_EQ(row.previewText()->displayedText(), "The answer");
    EXPECT_EQ(row.selectButton()->accessibleName(), "Title <i>as typed</i>");
    EXPECT_EQ(row.selectButton()->accessibleDescription(), "The **answer**");
    QTest::mouseClick(row.selectButton(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(selects, 1);

    const QList<QAction*> options = row.optionsMenu()->actions();
    ASSERT_EQ(options.size(), 3);
    EXPECT_EQ(options[0]->text(), "Rename");
    EXPECT_TRUE(options[1]->isSeparator());
    EXPECT_EQ(options[2]->text(), "Delete");
    options[0]->trigger();
    options[2]->trigger();
    std::unique_ptr<QMenu> context(row.makeContextMenu());
    ASSERT_EQ(context->actions().size(), 2);
    context->actions()[0]->trigger();
    context->actions()[1]->trigger();
    EXPECT_EQ(renames, 2);
    EXPECT_EQ(deletes, 2);
    EXPECT_EQ(row.optionsButton()->toolTip(), "Chat options");

    row.setChat(chat, true, chat.updatedAt);
    EXPECT_EQ(row.selectButton()->accessibleDescription(), "Selected");
}

} // namespace
