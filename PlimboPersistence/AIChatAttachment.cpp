#include "AIChatAttachment.h"

#include "JsonCoding.h"
#include "JsonDecodingError.h"

namespace plimbo {

QJsonObject AIChatAttachment::toJson() const {
    return QJsonObject{
        {QStringLiteral("id"), json::fromUuid(id)},
        {QStringLiteral("name"), name},
        {QStringLiteral("mimeType"), mimeType},
        {QStringLiteral("kind"), toString(kind)},
        {QStringLiteral("byteCount"), QJsonValue(byteCount)},
        {QStringLiteral("storageFileName"), storageFileName},
    };
}

AIChatAttachment AIChatAttachment::fromJson(const QJsonValue& value) {
    const QJsonObject object = json::requireObject(value, QStringLiteral("attachment"));
    AIChatAttachment attachment;
    attachment.id = json::requireUuid(object, QStringLiteral("id"));
    attachment.name = json::requireString(object, QStringLiteral("name"));
    attachment.mimeType = json::requireString(object, QStringLiteral("mimeType"));
    const std::optional<AIChatAttachmentKind> kind =
        aiChatAttachmentKindFromString(json::requireString(object, QStringLiteral("kind")));
    if (!kind) {
        throw JsonDecodingError(JsonDecodingError::Reason::invalidValue,
                                QStringLiteral("kind: unknown attachment kind"));
    }
    attachment.kind = *kind;
    attachment.byteCount = json::requireInteger(object, QStringLiteral("byteCount"));
    attachment.storageFileName = json::requireString(object, QStringLiteral("storageFileName"));
    return attachment;
}

} // namespace plimbo
