#include "StressHistory.h"

#include <QTimeZone>

namespace plimbo {

namespace {

// Ids derived from names, so every run of the program builds byte-identical documents.
QUuid stableId(const QString& name) {
    static const QUuid space = QUuid::fromString(u"6f1c0e52-3f5e-4a53-9a55-1b7e0c2d9a10");
    return QUuid::createUuidV5(space, name);
}

// About 2 KB of prose with characters JSON must escape and some outside ASCII.
QString replyText(char generation, int chat, int turn) {
    static const QString paragraph = QStringLiteral(
        "Here is a \"quoted\" idea, a path C:\\temp\\file and a list:\n- first point — done\n"
        "- second point: café, naïve, 東京\n\tcode: if (a < b) { return a; }\n");
    QString text = QStringLiteral("Generation %1, answer %2.%3. ")
                       .arg(QChar::fromLatin1(generation))
                       .arg(chat)
                       .arg(turn);
    while (text.size() < 2000) {
        text += paragraph;
    }
    return text;
}

} // namespace

StressHistory::StressHistory(int chats, int turns)
    : m_chats(chats)
    , m_turns(turns) {}

QList<AIChatSession> StressHistory::version(char generation) const {
    const QDateTime start(QDate(2026, 1, 1), QTime(8, 0), QTimeZone::utc());
    const QString letter = QString(QChar::fromLatin1(generation));
    QList<AIChatSession> sessions;
    sessions.reserve(m_chats);
    for (int chat = 0; chat < m_chats; ++chat) {
        AIChatSession session{stableId(QStringLiteral("chat-%1").arg(chat)),
                              QStringLiteral("Chat %1 (generation %2)").arg(chat).arg(letter),
                              {},
                              start.addSecs(chat * 3600),
                              start.addSecs(chat * 3600 + 5000)};
        session.turns.reserve(m_turns);
        for (int turn = 0; turn < m_turns; ++turn) {
            QList<AIChatAttachment> attachments;
            if (turn % 10 == 0) {
                const QUuid id = stableId(QStringLiteral("attachment-%1-%2").arg(chat).arg(turn));
                attachments.append(AIChatAttachment{
                    id, QStringLiteral("photo.png"), QStringLiteral("image/png"),
                    AIChatAttachmentKind::image, 123456,
                    id.toString(QUuid::WithoutBraces).toUpper() + QStringLiteral(".png")});
            }
            session.turns.append(AIChatTurn(
                stableId(QStringLiteral("turn-%1-%2").arg(chat).arg(turn)),
                QStringLiteral("Question %1 about the topic at hand?").arg(turn),
                replyText(generation, chat, turn), start.addMSecs(chat * 3600000LL + turn * 1234LL),
                AIChatTurnState::completed, attachments));
        }
        sessions.append(session);
    }
    return sessions;
}

} // namespace plimbo
