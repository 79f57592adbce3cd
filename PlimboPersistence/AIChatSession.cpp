#include "AIChatSession.h"

#include "JsonCoding.h"

#include <QJsonArray>

namespace plimbo {

QJsonObject AIChatSession::toJson() const {
    QJsonArray turnArray;
    for (const AIChatTurn& turn : turns) {
        turnArray.append(turn.toJson());
    }
    return QJsonObject{
        {QStringLiteral("id"), json::fromUuid(id)},
        {QStringLiteral("title"), title},
        {QStringLiteral("turns"), turnArray},
        {QStringLiteral("createdAt"), createdAt.secondsSinceReferenceDate()},
        {QStringLiteral("updatedAt"), updatedAt.secondsSinceReferenceDate()},
    };
}

AIChatSession AIChatSession::fromJson(const QJsonValue& value) {
    const QJsonObject object = json::requireObject(value, QStringLiteral("session"));
    AIChatSession session;
    session.id = json::requireUuid(object, QStringLiteral("id"));
    session.title = json::requireString(object, QStringLiteral("title"));
    const QJsonArray turnArray = json::requireArray(object, QStringLiteral("turns"));
    session.turns.reserve(turnArray.size());
    for (const QJsonValue& element : turnArray) {
        session.turns.append(AIChatTurn::fromJson(element));
    }
    session.createdAt = ChatDate::requireFromJson(object, QStringLiteral("createdAt"));
    session.updatedAt = ChatDate::requireFromJson(object, QStringLiteral("updatedAt"));
    return session;
}

} // namespace plimbo
