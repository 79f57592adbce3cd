#include "UsageBody.h"

#include "JsonCoding.h"

namespace plimbo {

UsageBody UsageBody::fromJson(const QJsonValue& value) {
    const QJsonObject object = json::requireObject(value, QStringLiteral("usage"));
    return UsageBody{json::optionalInteger(object, QStringLiteral("prompt_tokens")),
                     json::optionalInteger(object, QStringLiteral("completion_tokens")),
                     json::optionalInteger(object, QStringLiteral("total_tokens"))};
}

} // namespace plimbo
