#pragma once

#include "AIRequest.h"
#include "AIResponse.h"
#include "OpenRouterError.h"
#include "OpenRouterModel.h"
#include "OpenRouterStream.h"

#include <QFuture>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QUuid>

#include <chrono>

class QNetworkAccessManager;
class QNetworkRequest;

namespace plimbo {

// The one component that talks to the OpenRouter chat-completions service. Never stores the
// API key: every call receives it, trimmed of surrounding whitespace. Lives on one thread (the
// one that made it). Destroying it abandons running streams without a final signal.
class OpenRouterClient : public QObject {
    Q_OBJECT
public:
    // Inactivity timeouts: a request fails once no bytes moved for this long.
    struct Timeouts {
        std::chrono::milliseconds chat = std::chrono::seconds(90);
        std::chrono::milliseconds catalogue = std::chrono::seconds(20);
    };

    // The public service's versioned API root.
    static QUrl defaultBaseUrl();

    // The public service with the standard timeouts.
    explicit OpenRouterClient(QObject* parent = nullptr);
    OpenRouterClient(const QUrl& baseUrl, Timeouts timeouts, QObject* parent = nullptr);
    ~OpenRouterClient() override;

    QUrl baseUrl() const { return m_baseUrl; }

    // The model catalogue sorted by name (case-insensitive, stable). Fails with OpenRouterError.
    QFuture<QList<OpenRouterModel>> fetchModels(const QString& apiKey);
    // True when the catalogue can be fetched with this key; every failure passes through.
    QFuture<bool> validateCredential(const QString& apiKey);
    // One non-streamed completion. Fails with OpenRouterError, or WireEncodingError when the
    // body cannot be written.
    QFuture<AIResponse> complete(const AIRequest& request, const QString& apiKey);
    // Starts a streamed completion. Throws OpenRouterError for a missing or unusable key and
    // WireEncodingError for a body that cannot be written; nothing is sent then. The stream is
    // owned by the client and deletes itself after its final signal.
    OpenRouterStream* stream(const AIRequest& request, const QString& apiKey);
    // Stops the running stream of that request (it then fails with `cancelled`); an unknown id
    // does nothing.
    void cancel(const QUuid& requestID);

private:
    QNetworkRequest makeRequest(const QString& path, const QString& apiKey) const;
    QNetworkRequest makeChatRequest(const AIRequest& request, const QString& apiKey, bool stream,
                                    QByteArray* body) const;
    void forget(const QUuid& requestID, const OpenRouterStream* stream);

    QUrl m_baseUrl;
    Timeouts m_timeouts;
    QNetworkAccessManager* m_network;
    QHash<QUuid, QPointer<OpenRouterStream>> m_activeStreams;
};

} // namespace plimbo
