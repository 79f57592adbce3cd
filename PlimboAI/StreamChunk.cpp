#include "StreamChunk.h"

#include "JsonCoding.h"

namespace plimbo {

StreamChunk StreamChunk::fromJson(const QJsonValue& value) {
    const QJsonObject object = json::requireObject(value, QStringLiteral("chunk"));
    StreamChunk chunk;
    chunk.model = json::optionalString(object, QStringLiteral("model"));
    const QJsonArray choices = json::requireArray(object, QStringLiteral("choices"));
    chunk.choices.reserve(choices.size());
    for (const QJsonValue& element : choices) {
        const QJsonObject choiceObject = json::requireObject(element, QStringLiteral("choices"));
        const QJsonObject deltaObject = json::requireObject(choiceObject, QStringLiteral("delta"));
        Choice choice;
        choice.delta.content = json::optionalString(deltaObject, QStringLiteral("content"));
        choice.finishReason = json::optionalString(choiceObject, QStringLiteral("finish_reason"));
        chunk.choices.append(std::move(choice));
    }
    if (const auto usage = json::optionalObject(object, QStringLiteral("usage"))) {
        chunk.usage = UsageBody::fromJson(*usage);
    }
    if (const auto error = json::optionalObject(object, QStringLiteral("error"))) {
        chunk.error = ErrorEnvelope::Body::fromJson(*error);
    }
    return chunk;
}

StreamChunk StreamChunk::fromJsonBytes(const QByteArray& bytes) {
    return fromJson(json::parseBytes(bytes));
}

} // namespace plimbo
