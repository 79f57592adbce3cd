#include "OpenRouterStream.h"

#include "JsonDecodingError.h"
#include "ReplyInactivityTimer.h"
#include "StreamChunk.h"

#include <QNetworkReply>

namespace plimbo {

OpenRouterStream::OpenRouterStream(const QUuid& requestId, QNetworkReply* reply, QObject* parent)
    : QObject(parent)
    , m_requestId(requestId)
    , m_reply(reply) {
    connect(reply, &QNetworkReply::metaDataChanged, this, &OpenRouterStream::onMetaDataChanged);
    connect(reply, &QNetworkReply::readyRead, this, &OpenRouterStream::onReadyRead);
    connect(reply, &QNetworkReply::finished, this, &OpenRouterStream::onReplyFinished);
}

OpenRouterStream::~OpenRouterStream() {
    releaseReply();
}

void OpenRouterStream::cancel() {
    if (m_ended) {
        return;
    }
    m_ended = true;
    releaseReply();
    // From the event loop, so a caller never sees the final signal inside its own call.
    QMetaObject::invokeMethod(
        this,
        [this] {
            emit failed(OpenRouterError::cancelled());
            deleteLater();
        },
        Qt::QueuedConnection);
}

void OpenRouterStream::onMetaDataChanged() {
    statusRejected();
}

// The body of a failed status is never read: the status alone decides the error.
bool OpenRouterStream::statusRejected() {
    if (m_ended || !m_reply) {
        return m_ended;
    }
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) {
        return false;
    }
    const int code = status.toInt();
    if (code >= 200 && code <= 299) {
        return false;
    }
    fail(OpenRouterError::forStatus(code, std::nullopt));
    return true;
}

void OpenRouterStream::onReadyRead() {
    if (statusRejected() || !m_reply) {
        return;
    }
    handleBytes(m_reply->readAll());
}

void OpenRouterStream::onReplyFinished() {
    if (m_ended || !m_reply) {
        return;
    }
    QNetworkReply* reply = m_reply;
    if (ReplyInactivityTimer::firedFor(reply)) {
        fail(OpenRouterError::timedOut());
        return;
    }
    if (statusRejected()) {
        return;
    }
    switch (reply->error()) {
    case QNetworkReply::NoError:
        break;
    case QNetworkReply::OperationCanceledError:
        fail(OpenRouterError::cancelled());
        return;
    case QNetworkReply::TimeoutError:
        fail(OpenRouterError::timedOut());
        return;
    default:
        fail(OpenRouterError::decodingFailed());
        return;
    }
    if (!reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) {
        fail(OpenRouterError::invalidResponse());
        return;
    }
    if (!handleBytes(reply->readAll())) {
        return;
    }
    // The last line may come without a line break.
    if (const std::optional<QByteArray> last = m_splitter.finish()) {
        if (!handleLine(*last)) {
            return;
        }
    }
    if (m_textSeen) {
        succeed();
    } else {
        fail(OpenRouterError::invalidResponse());
    }
}

bool OpenRouterStream::handleBytes(const QByteArray& bytes) {
    const QList<QByteArray> lines = m_splitter.append(bytes);
    for (const QByteArray& line : lines) {
        if (!handleLine(line)) {
            return false;
        }
    }
    return true;
}

bool OpenRouterStream::handleLine(const QByteArray& line) {
    const SSEParseResult result = m_parser.parse(QString::fromUtf8(line));
    switch (result.kind()) {
    case SSEParseResult::Kind::ignored:
        return true;
    case SSEParseResult::Kind::done:
        if (emitEvent(AIStreamEvent::makeFinished(std::nullopt))) {
            succeed();
        }
        return false;
    case SSEParseResult::Kind::payload:
        break;
    }
    StreamChunk chunk;
    try {
        chunk = StreamChunk::fromJsonBytes(result.bytes());
    } catch (const JsonDecodingError&) {
        fail(OpenRouterError::decodingFailed());
        return false;
    }
    return handleChunk(chunk);
}

bool OpenRouterStream::handleChunk(const StreamChunk& chunk) {
    const StreamChunk::Choice* choice = chunk.choices.isEmpty() ? nullptr : &chunk.choices.first();
    if (chunk.model && !emitEvent(AIStreamEvent::makeMetadata(chunk.model))) {
        return false;
    }
    if (choice && choice->delta.content && !choice->delta.content->isEmpty()) {
        m_textSeen = true;
        if (!emitEvent(AIStreamEvent::makeText(*choice->delta.content))) {
            return false;
        }
    }
    if (chunk.usage && !emitEvent(AIStreamEvent::makeUsage(chunk.usage->toAIUsage()))) {
        return false;
    }
    // A provider that fails mid-reply still answers 200 and says so in the chunk; that is a
    // failure, not a finished reply. Text already delivered stays with the receiver.
    const bool errorFinish = choice && choice->finishReason == QStringLiteral("error");
    if (chunk.error || errorFinish) {
        const std::optional<QString> message = chunk.error ? chunk.error->message : std::nullopt;
        if (message && !message->isEmpty()) {
            fail(OpenRouterError::message(OpenRouterError::shortened(*message)));
        } else {
            fail(OpenRouterError::invalidResponse());
        }
        return false;
    }
    if (choice && choice->finishReason) {
        return emitEvent(AIStreamEvent::makeFinished(choice->finishReason));
    }
    return true;
}

bool OpenRouterStream::emitEvent(const AIStreamEvent& event) {
    const QPointer<OpenRouterStream> self(this);
    emit eventReceived(event);
    return self && !m_ended;
}

void OpenRouterStream::succeed() {
    if (m_ended) {
        return;
    }
    m_ended = true;
    releaseReply();
    const QPointer<OpenRouterStream> self(this);
    emit finished();
    if (self) {
        deleteLater();
    }
}

void OpenRouterStream::fail(const OpenRouterError& error) {
    if (m_ended) {
        return;
    }
    m_ended = true;
    releaseReply();
    const QPointer<OpenRouterStream> self(this);
    emit failed(error);
    if (self) {
        deleteLater();
    }
}

void OpenRouterStream::releaseReply() {
    if (!m_reply) {
        return;
    }
    QNetworkReply* reply = m_reply;
    m_reply.clear();
    reply->disconnect(this);
    // Aborting closes the connection instead of draining the rest of the body. A reply with an
    // error status is only deleted (which also drops its transfer): Qt is about to report that
    // status as an error, and an abort as well makes it complain that it got two.
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const bool errorStatus = status.isValid() && (status.toInt() < 200 || status.toInt() > 299);
    if (!reply->isFinished() && !errorStatus && reply->error() == QNetworkReply::NoError) {
        reply->abort();
    }
    reply->deleteLater();
}

} // namespace plimbo
