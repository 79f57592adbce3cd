#include "ChatRequestBody.h"

#include "WireEncodingError.h"

#include <QJsonArray>

#include <cmath>

namespace plimbo {

QJsonObject ChatRequestBody::Plugin::PDF::toJson() const {
    return QJsonObject{{QStringLiteral("engine"), engine}};
}

QJsonObject ChatRequestBody::Plugin::toJson() const {
    QJsonObject object{{QStringLiteral("id"), id}};
    if (pdf) {
        object.insert(QStringLiteral("pdf"), pdf->toJson());
    }
    return object;
}

QList<ChatRequestBody::Plugin> ChatRequestBody::fileParserPlugins() {
    return {Plugin{QStringLiteral("file-parser"), Plugin::PDF{QStringLiteral("cloudflare-ai")}}};
}

QJsonObject ChatRequestBody::toJson() const {
    QJsonArray messageArray;
    for (const AIMessage& message : messages) {
        messageArray.append(message.toJson());
    }
    QJsonObject object{
        {QStringLiteral("model"), model},
        {QStringLiteral("messages"), messageArray},
        {QStringLiteral("stream"), stream},
    };
    if (temperature) {
        // QJsonDocument would silently write NaN and infinities as null.
        if (!std::isfinite(*temperature)) {
            throw WireEncodingError(QStringLiteral("temperature: not a finite number"));
        }
        object.insert(QStringLiteral("temperature"), *temperature);
    }
    if (maxTokens) {
        object.insert(QStringLiteral("max_tokens"), *maxTokens);
    }
    if (plugins) {
        QJsonArray pluginArray;
        for (const Plugin& plugin : *plugins) {
            pluginArray.append(plugin.toJson());
        }
        object.insert(QStringLiteral("plugins"), pluginArray);
    }
    return object;
}

} // namespace plimbo
