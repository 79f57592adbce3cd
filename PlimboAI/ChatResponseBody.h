#pragma once

#include "UsageBody.h"

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QString>

#include <optional>

namespace plimbo {

// The answer to a one-shot chat request.
struct ChatResponseBody {
    struct Choice {
        struct Message {
            std::optional<QString> content;
        };

        Message message;
        std::optional<QString> finishReason;
    };

    QString id;
    QString model;
    QList<Choice> choices;
    std::optional<UsageBody> usage;

    // Throws JsonDecodingError.
    static ChatResponseBody fromJson(const QJsonValue& value);
    static ChatResponseBody fromJsonBytes(const QByteArray& bytes);
};

} // namespace plimbo
