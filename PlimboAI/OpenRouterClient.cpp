#include "OpenRouterClient.h"

#include "ChatRequestBody.h"
#include "ChatResponseBody.h"
#include "ErrorEnvelope.h"
#include "JsonCoding.h"
#include "JsonDecodingError.h"
#include "Logging.h"
#include "ModelListResponse.h"
#include "ReplyInactivityTimer.h"

#include <QCollator>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPromise>

#include <algorithm>
#include <memory>

namespace plimbo {

namespace {

const QByteArray kTitleHeader = QByteArrayLiteral("X-OpenRouter-Title");
const QByteArray kTitle = QByteArrayLiteral("Plimbo");

template <typename T> QFuture<T> failedFuture(const std::exception_ptr& error) {
    QPromise<T> promise;
    promise.start();
    promise.setException(error);
    promise.finish();
    return promise.future();
}

// The key as it goes into the header. Surrounding whitespace (a trailing newline from a
// keyring tool) is dropped; a control character inside would corrupt the header, so such a
// key is refused before anything is sent.
QByteArray authorization(const QString& apiKey) {
    const QString key = apiKey.trimmed();
    if (key.isEmpty()) {
        throw OpenRouterError::missingCredential();
    }
    const bool hasControl = std::any_of(
        key.cbegin(), key.cend(), [](QChar c) { return c.category() == QChar::Other_Control; });
    if (hasControl) {
        throw OpenRouterError::message(QStringLiteral(
            "The OpenRouter API key contains a control character. Replace it in Settings."));
    }
    return QByteArrayLiteral("Bearer ") + key.toUtf8();
}

// The HTTP status of a finished reply, when it was an HTTP reply at all.
std::optional<int> httpStatus(const QNetworkReply* reply) {
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    return status.isValid() ? std::optional(status.toInt()) : std::nullopt;
}

bool isSuccess(int status) {
    return status >= 200 && status <= 299;
}

} // namespace

QUrl OpenRouterClient::defaultBaseUrl() {
    return QUrl(QStringLiteral("https://openrouter.ai/api/v1"));
}

OpenRouterClient::OpenRouterClient(QObject* parent)
    : OpenRouterClient(defaultBaseUrl(), Timeouts{}, parent) {}

OpenRouterClient::OpenRouterClient(const QUrl& baseUrl, Timeouts timeouts, QObject* parent)
    : QObject(parent)
    , m_baseUrl(baseUrl)
    , m_timeouts(timeouts)
    , m_network(new QNetworkAccessManager(this)) {}

OpenRouterClient::~OpenRouterClient() {
    // Streams close their replies, so they must go before the network manager.
    const auto streams = std::exchange(m_activeStreams, {});
    for (const QPointer<OpenRouterStream>& stream : streams) {
        delete stream.data();
    }
}

QNetworkRequest OpenRouterClient::makeRequest(const QString& path, const QString& apiKey) const {
    const QByteArray credential = authorization(apiKey);
    // Appended, not resolved: resolving "models" against ".../api/v1" would drop "v1".
    QUrl url = m_baseUrl;
    QString basePath = url.path();
    if (!basePath.endsWith(u'/')) {
        basePath += u'/';
    }
    url.setPath(basePath + path);
    QNetworkRequest request(url);
    request.setRawHeader(QByteArrayLiteral("Authorization"), credential);
    // ReplyInactivityTimer does this job and, unlike Qt's, tells a timeout from a cancel.
    request.setTransferTimeout(0);
    return request;
}

QNetworkRequest OpenRouterClient::makeChatRequest(const AIRequest& request, const QString& apiKey,
                                                  bool stream, QByteArray* body) const {
    QNetworkRequest networkRequest = makeRequest(QStringLiteral("chat/completions"), apiKey);
    networkRequest.setRawHeader(QByteArrayLiteral("Content-Type"),
                                QByteArrayLiteral("application/json"));
    networkRequest.setRawHeader(kTitleHeader, kTitle);

    ChatRequestBody chatBody;
    chatBody.model = request.model;
    chatBody.messages = request.messages;
    chatBody.stream = stream;
    chatBody.temperature = request.temperature;
    chatBody.maxTokens = request.maxOutputTokens;
    const bool hasFile =
        std::any_of(request.messages.cbegin(), request.messages.cend(),
                    [](const AIMessage& message) { return message.containsFile(); });
    if (hasFile) {
        chatBody.plugins = ChatRequestBody::fileParserPlugins();
    }
    *body = json::toCompactBytes(chatBody.toJson());
    return networkRequest;
}

QFuture<QList<OpenRouterModel>> OpenRouterClient::fetchModels(const QString& apiKey) {
    QNetworkRequest request;
    try {
        request = makeRequest(QStringLiteral("models"), apiKey);
    } catch (...) {
        return failedFuture<QList<OpenRouterModel>>(std::current_exception());
    }
    request.setRawHeader(kTitleHeader, kTitle);
    QNetworkReply* reply = m_network->get(request);
    new ReplyInactivityTimer(reply, m_timeouts.catalogue);

    auto promise = std::make_shared<QPromise<QList<OpenRouterModel>>>();
    promise->start();
    connect(reply, &QNetworkReply::finished, this, [reply, promise] {
        reply->deleteLater();
        const auto failWith = [&](const OpenRouterError& error, const char* loggedType) {
            if (loggedType != nullptr) {
                qCCritical(aiLog, "Model catalog failed: %s", loggedType);
            }
            promise->setException(std::make_exception_ptr(error));
            promise->finish();
        };
        if (ReplyInactivityTimer::firedFor(reply)) {
            return failWith(OpenRouterError::timedOut(), nullptr);
        }
        const std::optional<int> status = httpStatus(reply);
        if (status && !isSuccess(*status)) {
            return failWith(
                OpenRouterError::forStatus(*status, ErrorEnvelope::messageIn(reply->readAll())),
                nullptr);
        }
        if (reply->error() == QNetworkReply::TimeoutError) {
            return failWith(OpenRouterError::timedOut(), nullptr);
        }
        if (reply->error() != QNetworkReply::NoError) {
            return failWith(OpenRouterError::invalidResponse(), "QNetworkReply::NetworkError");
        }
        if (!status) {
            return failWith(OpenRouterError::invalidResponse(), nullptr);
        }
        QList<OpenRouterModel> models;
        try {
            models = ModelListResponse::fromJsonBytes(reply->readAll()).data;
        } catch (const JsonDecodingError&) {
            return failWith(OpenRouterError::invalidResponse(), "JsonDecodingError");
        }
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::stable_sort(models.begin(), models.end(),
                         [&](const OpenRouterModel& a, const OpenRouterModel& b) {
                             return collator.compare(a.name(), b.name()) < 0;
                         });
        promise->addResult(std::move(models));
        promise->finish();
    });
    return promise->future();
}

QFuture<bool> OpenRouterClient::validateCredential(const QString& apiKey) {
    return fetchModels(apiKey).then([](const QList<OpenRouterModel>&) { return true; });
}

QFuture<AIResponse> OpenRouterClient::complete(const AIRequest& request, const QString& apiKey) {
    QNetworkRequest networkRequest;
    QByteArray body;
    try {
        networkRequest = makeChatRequest(request, apiKey, false, &body);
    } catch (...) {
        return failedFuture<AIResponse>(std::current_exception());
    }
    QNetworkReply* reply = m_network->post(networkRequest, body);
    new ReplyInactivityTimer(reply, m_timeouts.chat);

    auto promise = std::make_shared<QPromise<AIResponse>>();
    promise->start();
    connect(reply, &QNetworkReply::finished, this, [reply, promise] {
        reply->deleteLater();
        const auto failWith = [&](const OpenRouterError& error) {
            promise->setException(std::make_exception_ptr(error));
            promise->finish();
        };
        if (ReplyInactivityTimer::firedFor(reply)) {
            return failWith(OpenRouterError::timedOut());
        }
        const std::optional<int> status = httpStatus(reply);
        if (status && !isSuccess(*status)) {
            return failWith(
                OpenRouterError::forStatus(*status, ErrorEnvelope::messageIn(reply->readAll())));
        }
        if (reply->error() == QNetworkReply::TimeoutError) {
            return failWith(OpenRouterError::timedOut());
        }
        if (reply->error() != QNetworkReply::NoError) {
            return failWith(OpenRouterError::decodingFailed());
        }
        if (!status) {
            return failWith(OpenRouterError::invalidResponse());
        }
        ChatResponseBody answer;
        try {
            answer = ChatResponseBody::fromJsonBytes(reply->readAll());
        } catch (const JsonDecodingError&) {
            return failWith(OpenRouterError::decodingFailed());
        }
        if (answer.choices.isEmpty()) {
            return failWith(OpenRouterError::invalidResponse());
        }
        const ChatResponseBody::Choice& choice = answer.choices.first();
        AIResponse response;
        response.id = answer.id;
        response.model = answer.model;
        response.content = choice.message.content.value_or(QString());
        response.finishReason = choice.finishReason;
        if (answer.usage) {
            response.usage = answer.usage->toAIUsage();
        }
        promise->addResult(std::move(response));
        promise->finish();
    });
    return promise->future();
}

OpenRouterStream* OpenRouterClient::stream(const AIRequest& request, const QString& apiKey) {
    QByteArray body;
    const QNetworkRequest networkRequest = makeChatRequest(request, apiKey, true, &body);
    QNetworkReply* reply = m_network->post(networkRequest, body);
    new ReplyInactivityTimer(reply, m_timeouts.chat);

    auto* stream = new OpenRouterStream(request.id, reply, this);
    m_activeStreams.insert(request.id, stream);
    const QUuid id = request.id;
    connect(stream, &OpenRouterStream::finished, this, [this, id, stream] { forget(id, stream); });
    connect(stream, &OpenRouterStream::failed, this, [this, id, stream] { forget(id, stream); });
    connect(stream, &QObject::destroyed, this, [this, id, stream] { forget(id, stream); });
    return stream;
}

void OpenRouterClient::cancel(const QUuid& requestID) {
    const QPointer<OpenRouterStream> stream = m_activeStreams.take(requestID);
    if (stream) {
        stream->cancel();
    }
}

// A newer stream with the same id keeps its entry.
void OpenRouterClient::forget(const QUuid& requestID, const OpenRouterStream* stream) {
    const auto entry = m_activeStreams.constFind(requestID);
    if (entry != m_activeStreams.cend() && (entry->isNull() || entry->data() == stream)) {
        m_activeStreams.erase(entry);
    }
}

} // namespace plimbo
