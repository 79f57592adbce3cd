#include "ChatResponseBody.h"

#include "JsonCoding.h"

namespace plimbo {

ChatResponseBody ChatResponseBody::fromJson(const QJsonValue& value) {
    const QJsonObject object = json::requireObject(value, QStringLiteral("response"));
    ChatResponseBody body;
    body.id = json::requireString(object, QStringLiteral("id"));
    body.model = json::requireString(object, QStringLiteral("model"));
    const QJsonArray choices = json::requireArray(object, QStringLiteral("choices"));
    for (const QJsonValue& element : choices) {
        const QJsonObject choiceObject = json::requireObject(element, QStringLiteral("choices"));
        const QJsonObject messageObject =
            json::requireObject(choiceObject, QStringLiteral("message"));
        Choice choice;
        choice.message.content = json::optionalString(messageObject, QStringLiteral("content"));
        choice.finishReason = json::optionalString(choiceObject, QStringLiteral("finish_reason"));
        body.choices.append(std::move(choice));
    }
    if (const auto usage = json::optionalObject(object, QStringLiteral("usage"))) {
        body.usage = UsageBody::fromJson(*usage);
    }
    return body;
}

ChatResponseBody ChatResponseBody::fromJsonBytes(const QByteArray& bytes) {
    return fromJson(json::parseBytes(bytes));
}

} // namespace plimbo
