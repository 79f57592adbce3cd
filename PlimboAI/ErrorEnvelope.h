#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>

#include <optional>

namespace plimbo {

// Body of a failed HTTP response; also the "error" object of a stream chunk.
struct ErrorEnvelope {
    struct Body {
        std::optional<QString> message;
        static Body fromJson(const QJsonValue& value);
    };

    std::optional<Body> error;

    static ErrorEnvelope fromJson(const QJsonValue& value);
    // The service's explanation, or nothing when the bytes are not such an envelope.
    static std::optional<QString> messageIn(const QByteArray& body);
};

} // namespace plimbo
