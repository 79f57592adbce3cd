#include "OpenRouterError.h"

#include <QTextBoundaryFinder>

namespace plimbo {

OpenRouterError OpenRouterError::unavailable(int status) {
    return OpenRouterError(Kind::unavailable, status);
}

OpenRouterError OpenRouterError::message(const QString& text) {
    return OpenRouterError(Kind::message, 0, text);
}

OpenRouterError OpenRouterError::forStatus(int status, const std::optional<QString>& message) {
    if (status == 401 || status == 403) {
        return invalidCredential();
    }
    if (status == 402) {
        return paymentRequired();
    }
    if (status == 408) {
        return timedOut();
    }
    if (status == 429) {
        return rateLimited();
    }
    if (status >= 500 && status <= 599) {
        return unavailable(status);
    }
    if (message) {
        return OpenRouterError::message(shortened(*message));
    }
    return OpenRouterError::message(QStringLiteral("OpenRouter rejected the request (HTTP ") +
                                    QString::number(status) + QStringLiteral(")."));
}

QString OpenRouterError::shortened(const QString& message) {
    constexpr int limit = 240;
    if (message.size() <= limit) {
        return message; // fewer code units than the limit means fewer characters too
    }
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, message);
    int count = 0;
    while (finder.toNextBoundary() >= 0) {
        if (++count == limit) {
            return message.left(finder.position());
        }
    }
    return message;
}

QString OpenRouterError::description() const {
    switch (m_kind) {
    case Kind::unavailable:
        return QStringLiteral("OpenRouter is unavailable (HTTP ") + QString::number(m_status) +
               QStringLiteral(").");
    case Kind::message:
        return m_message;
    case Kind::missingCredential:
        return QStringLiteral("Add an OpenRouter API key in Settings.");
    case Kind::invalidCredential:
        return QStringLiteral("OpenRouter rejected this API key. Replace it and try again.");
    case Kind::paymentRequired:
        return QStringLiteral("OpenRouter reports that this request needs additional credit.");
    case Kind::rateLimited:
        return QStringLiteral("OpenRouter is rate limiting requests. Wait a moment and try again.");
    case Kind::timedOut:
        return QStringLiteral("The OpenRouter request timed out.");
    case Kind::invalidResponse:
        return QStringLiteral("OpenRouter returned an invalid response.");
    case Kind::decodingFailed:
        return QStringLiteral("Plimbo could not read the OpenRouter response.");
    case Kind::cancelled:
        return QStringLiteral("The request was cancelled.");
    }
    return {};
}

} // namespace plimbo
