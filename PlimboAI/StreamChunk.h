#pragma once

#include "ErrorEnvelope.h"
#include "UsageBody.h"

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QString>

#include <optional>

namespace plimbo {

// The JSON payload of one data line of a streamed answer.
struct StreamChunk {
    struct Choice {
        struct Delta {
            std::optional<QString> content;
        };

        Delta delta;
        std::optional<QString> finishReason;
    };

    std::optional<QString> model;
    QList<Choice> choices;
    std::optional<UsageBody> usage;
    // Set when the provider gives up in the middle of a reply (the HTTP status was already 200).
    std::optional<ErrorEnvelope::Body> error;

    // Throws JsonDecodingError.
    static StreamChunk fromJson(const QJsonValue& value);
    static StreamChunk fromJsonBytes(const QByteArray& bytes);
};

} // namespace plimbo
