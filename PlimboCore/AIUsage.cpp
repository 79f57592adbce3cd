#include "AIUsage.h"

#include "JsonCoding.h"

namespace plimbo {

namespace {
const QString kPrompt = QStringLiteral("promptTokens");
const QString kCompletion = QStringLiteral("completionTokens");
const QString kTotal = QStringLiteral("totalTokens");
} // namespace

QJsonObject AIUsage::toJson() const {
    QJsonObject object;
    json::insertOptional(object, kPrompt, promptTokens);
    json::insertOptional(object, kCompletion, completionTokens);
    json::insertOptional(object, kTotal, totalTokens);
    return object;
}

AIUsage AIUsage::fromJson(const QJsonValue& value) {
    const QJsonObject object = json::requireObject(value, QStringLiteral("usage"));
    return AIUsage{json::optionalInteger(object, kPrompt),
                   json::optionalInteger(object, kCompletion),
                   json::optionalInteger(object, kTotal)};
}

} // namespace plimbo
