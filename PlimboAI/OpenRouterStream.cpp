#include "OpenRouterStream.h"

#include "ReplyInactivityTimer.h"

#include <QNetworkReply>

namespace plimbo {

OpenRouterStream::OpenRouterStream(const QUuid& requestID, QNetworkReply* reply, QObject* parent)
    : QObject(parent)
    , m_requestID(requestID)
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
    const StreamBodyDecoder::Outcome outcome = m_decoder.append(
        m_reply->readAll(), [this](const AIStreamEvent& event) { return emitEvent(event); });
    // An abandoned stream may already be deleted: nothing of it is touched then.
    if (!outcome.isAbandoned()) {
        apply(outcome);
    }
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
    const auto sink = [this](const AIStreamEvent& event) {
        return emitEvent(event);
    };
    StreamBodyDecoder::Outcome outcome = m_decoder.append(reply->readAll(), sink);
    if (outcome.isReading()) {
        outcome = m_decoder.finish(sink);
    }
    if (!outcome.isAbandoned()) {
        apply(outcome);
    }
}

void OpenRouterStream::apply(const StreamBodyDecoder::Outcome& outcome) {
    using Kind = StreamBodyDecoder::Outcome::Kind;
    switch (outcome.kind) {
    case Kind::reading:
    case Kind::abandoned:
        break;
    case Kind::succeeded:
        succeed();
        break;
    case Kind::failed:
        fail(*outcome.error);
        break;
    }
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
