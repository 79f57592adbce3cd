#pragma once

#include "AIChatSession.h"

#include <QDateTime>
#include <QString>
#include <QUuid>

// Chats as a long-time user has them: the history holds up to 100 chats of up to 100 turns,
// each reply a few paragraphs, a list and a code block.
namespace plimbo::test {

inline QString longReply(int index) {
    return QStringLiteral(
               "Here is how to approach part %1 of the problem. The first thing to check is "
               "whether the input is already **sorted**, because that changes which of the "
               "approaches below is cheaper, and it is worth measuring before changing anything "
               "that already works well enough for the sizes you have.\n\n"
               "A second paragraph goes into the details: keep the `state` small, pass values "
               "rather than references where the copies are cheap, and prefer one clear loop "
               "over a chain of helpers that each walk the data again. See "
               "[the notes](https://example.com/notes/%1) for the long version.\n\n"
               "- Measure the current time with a realistic data set\n"
               "- Change *one* thing at a time and measure again\n"
               "- Keep the change only when it is clearly faster\n"
               "- Write down what you tried, including what did not help\n\n"
               "```cpp\n"
               "int sumOf(const std::vector<int>& values) {\n"
               "    int total = 0;\n"
               "    for (int value : values) {\n"
               "        total += value; // step %1\n"
               "    }\n"
               "    return total;\n"
               "}\n"
               "```\n\n"
               "Finally, a short closing paragraph that sums up the answer to question %1 and "
               "suggests what to look at next if the numbers are still not where they should "
               "be.")
        .arg(index);
}

inline AIChatSession longChat(const QString& title, int turns = 100,
                              const QDateTime& updated = QDateTime(QDate(2026, 11, 30), QTime(9, 0),
                                                                   Qt::UTC)) {
    AIChatSession chat;
    chat.id = QUuid::createUuid();
    chat.title = title;
    chat.createdAt = updated.addDays(-30);
    chat.updatedAt = updated;
    for (int i = 0; i < turns; ++i) {
        chat.turns.append(AIChatTurn(
            QUuid::createUuid(),
            QStringLiteral("Question %1: how would you make this loop faster without making "
                           "the code harder to read?")
                .arg(i + 1),
            longReply(i + 1), updated.addSecs(-60 * (turns - i)), AIChatTurnState::completed,
            std::nullopt, {}));
    }
    return chat;
}

// `count` chats of `turns` turns each, newest first as the model keeps them.
inline QList<AIChatSession> fullHistory(int count = 100, int turns = 100) {
    QList<AIChatSession> chats;
    const QDateTime newest(QDate(2026, 11, 30), QTime(9, 0), Qt::UTC);
    for (int i = 0; i < count; ++i) {
        chats.append(longChat(QStringLiteral("Chat %1 about performance").arg(count - i), turns,
                              newest.addSecs(-3600 * i)));
    }
    return chats;
}

} // namespace plimbo::test
