#include "ModelListResponse.h"

#include "JsonCoding.h"

#include <QJsonArray>

namespace plimbo {

QJsonObject ModelListResponse::toJson() const {
    QJsonArray array;
    for (const OpenRouterModel& model : data) {
        array.append(model.toJson());
    }
    return QJsonObject{{QStringLiteral("data"), array}};
}

ModelListResponse ModelListResponse::fromJson(const QJsonValue& value) {
    const QJsonObject object = json::requireObject(value, QStringLiteral("catalogue"));
    ModelListResponse response;
    const QJsonArray array = json::requireArray(object, QStringLiteral("data"));
    response.data.reserve(array.size());
    for (const QJsonValue& element : array) {
        response.data.append(OpenRouterModel::fromJson(element));
    }
    return response;
}

ModelListResponse ModelListResponse::fromJsonBytes(const QByteArray& bytes) {
    return fromJson(json::parseBytes(bytes));
}

} // namespace plimbo
