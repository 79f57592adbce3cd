#include "AIChatTurn.h"

#include "JsonCoding.h"
#include "JsonDecodingError.h"

#include <QJsonArray>

namespace plimbo {

AIChatTurn::AIChatTurn(QUuid id, QString prompt, QString response, ChatDate createdAt,
                       AIChatTurnState state, std::optional<QString> failureMessage,
                       QList<AIChatAttachment> attachments)
    : id(id)
    , prompt(std::move(prompt))
    , response(std::move(response))
    , createdAt(std::move(createdAt))
    , state(state)
    , failureMessage(std::move(failureMessage))
    , attachments(std::move(attachments)) {}

AIChatTurn::AIChatTurn(QUuid id, QString prompt, QString response, ChatDate createdAt,
                       AIChatTurnState state, QList<AIChatAttachment> attachments)
    : AIChatTurn(id, std::move(prompt), std::move(response), std::move(createdAt), state,
                 std::nullopt, std::move(attachments)) {}

QJsonObject AIChatTurn::toJson() const {
    QJsonArray attachmentArray;
    for (const AIChatAttachment& attachment : attachments) {
        attachmentArray.append(attachment.toJson());
    }
    QJsonObject object{
        {QStringLiteral("id"), json::fromUuid(id)},
        {QStringLiteral("prompt"), prompt},
        {QStringLiteral("response"), response},
        {QStringLiteral("createdAt"), createdAt.secondsSinceReferenceDate()},
        {QStringLiteral("state"), toString(state)},
        {QStringLiteral("attachments"), attachmentArray},
    };
    json::insertOptional(object, QStringLiteral("failureMessage"), failureMessage);
    return object;
}

AIChatTurn AIChatTurn::fromJson(const QJsonValue& value) {
    const QJsonObject object = json::requireObject(value, QStringLiteral("turn"));
    AIChatTurn turn;
    turn.id = json::requireUuid(object, QStringLiteral("id"));
    turn.prompt = json::requireString(object, QStringLiteral("prompt"));
    turn.response = json::requireString(object, QStringLiteral("response"));
    turn.createdAt = ChatDate::requireFromJson(object, QStringLiteral("createdAt"));
    if (const std::optional<QString> raw = json::optionalString(object, QStringLiteral("state"))) {
        const std::optional<AIChatTurnState> state = aiChatTurnStateFromString(*raw);
        if (!state) {
            throw JsonDecodingError(JsonDecodingError::Reason::invalidValue,
                                    QStringLiteral("state: unknown turn state"));
        }
        turn.state = *state;
    }
    turn.failureMessage = json::optionalString(object, QStringLiteral("failureMessage"));
    if (const std::optional<QJsonArray> array =
            json::optionalArray(object, QStringLiteral("attachments"))) {
        turn.attachments.reserve(array->size());
        for (const QJsonValue& element : *array) {
            turn.attachments.append(AIChatAttachment::fromJson(element));
        }
    }
    return turn;
}

} // namespace plimbo
