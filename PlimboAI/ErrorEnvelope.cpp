#include "ErrorEnvelope.h"

#include "JsonCoding.h"
#include "JsonDecodingError.h"

namespace plimbo {

ErrorEnvelope::Body ErrorEnvelope::Body::fromJson(const QJsonValue& value) {
    const QJsonObject object = json::requireObject(value, QStringLiteral("error"));
    return Body{json::optionalString(object, QStringLiteral("message"))};
}

ErrorEnvelope ErrorEnvelope::fromJson(const QJsonValue& value) {
    const QJsonObject object = json::requireObject(value, QStringLiteral("envelope"));
    ErrorEnvelope envelope;
    if (const auto error = json::optionalObject(object, QStringLiteral("error"))) {
        envelope.error = Body::fromJson(*error);
    }
    return envelope;
}

std::optional<QString> ErrorEnvelope::messageIn(const QByteArray& body) {
    try {
        const ErrorEnvelope envelope = fromJson(json::parseBytes(body));
        return envelope.error ? envelope.error->message : std::nullopt;
    } catch (const JsonDecodingError&) {
        return std::nullopt;
    }
}

} // namespace plimbo
