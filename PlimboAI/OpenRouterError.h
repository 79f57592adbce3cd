#pragma once

#include "PlimboError.h"

#include <QString>

#include <optional>

namespace plimbo {

// Every way a call to OpenRouter can fail, each with the text the user sees.
class OpenRouterError : public PlimboError {
public:
    enum class Kind {
        unavailable,
        message,
        missingCredential,
        invalidCredential,
        paymentRequired,
        rateLimited,
        timedOut,
        invalidResponse,
        decodingFailed,
        cancelled,
    };

    // Errors with a payload carry it; the rest take no argument.
    static OpenRouterError unavailable(int status);
    static OpenRouterError message(const QString& text);
    static OpenRouterError missingCredential() { return OpenRouterError(Kind::missingCredential); }
    static OpenRouterError invalidCredential() { return OpenRouterError(Kind::invalidCredential); }
    static OpenRouterError paymentRequired() { return OpenRouterError(Kind::paymentRequired); }
    static OpenRouterError rateLimited() { return OpenRouterError(Kind::rateLimited); }
    static OpenRouterError timedOut() { return OpenRouterError(Kind::timedOut); }
    static OpenRouterError invalidResponse() { return OpenRouterError(Kind::invalidResponse); }
    static OpenRouterError decodingFailed() { return OpenRouterError(Kind::decodingFailed); }
    static OpenRouterError cancelled() { return OpenRouterError(Kind::cancelled); }

    // The error for an HTTP status outside 200-299; listed statuses win over the body's message.
    static OpenRouterError forStatus(int status, const std::optional<QString>& message);
    // A provider message cut to its first 240 user-perceived characters.
    static QString shortened(const QString& message);

    Kind kind() const { return m_kind; }
    // The HTTP status of `unavailable`; 0 otherwise.
    int status() const { return m_status; }
    // The payload of `message`; empty otherwise.
    const QString& messageText() const { return m_message; }

    QString description() const override;

    bool operator==(const OpenRouterError& other) const {
        return m_kind == other.m_kind && m_status == other.m_status && m_message == other.m_message;
    }

private:
    explicit OpenRouterError(Kind kind, int status = 0, QString message = {})
        : m_kind(kind)
        , m_status(status)
        , m_message(std::move(message)) {}

    Kind m_kind;
    int m_status;
    QString m_message;
};

} // namespace plimbo
