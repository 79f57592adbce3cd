#pragma once

#include "OpenRouterModel.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>

namespace plimbo {

// The model catalogue. One malformed entry fails the whole list.
struct ModelListResponse {
    QList<OpenRouterModel> data;

    QJsonObject toJson() const;
    // Throws JsonDecodingError.
    static ModelListResponse fromJson(const QJsonValue& value);
    static ModelListResponse fromJsonBytes(const QByteArray& bytes);
};

} // namespace plimbo
