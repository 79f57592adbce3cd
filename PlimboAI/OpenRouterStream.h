#pragma once

#include "AIStreamEvent.h"
#include "OpenRouterError.h"
#include "SSELineSplitter.h"
#include "SSEParser.h"

#include <QObject>
#include <QPointer>
#include <QUuid>

class QNetworkReply;

namespace plimbo {

struct StreamChunk;

// The streamed answer of one chat request, made by OpenRouterClient::stream(). Emits
// eventReceived for each event in order, then exactly one of finished() or failed(); after that
// it deletes itself (deleteLater). Connect right after stream() returns: nothing is emitted
// before control goes back to the event loop. Deleting it earlier abandons the request silently.
class OpenRouterStream : public QObject {
    Q_OBJECT
public:
    ~OpenRouterStream() override;

    QUuid requestId() const { return m_requestId; }
    bool isEnded() const { return m_ended; }

    // Stops the request and closes its connection; failed(cancelled) follows from the event
    // loop. Does nothing once the stream has ended.
    void cancel();

signals:
    void eventReceived(const plimbo::AIStreamEvent& event);
    // The end marker arrived, or the body ended after some text.
    void finished();
    void failed(const plimbo::OpenRouterError& error);

private:
    friend class OpenRouterClient;
    OpenRouterStream(const QUuid& requestId, QNetworkReply* reply, QObject* parent);

    void onMetaDataChanged();
    void onReadyRead();
    void onReplyFinished();
    bool statusRejected();
    // Each returns false once the stream has ended (or was deleted by a receiver).
    bool handleBytes(const QByteArray& bytes);
    bool handleLine(const QByteArray& line);
    bool handleChunk(const StreamChunk& chunk);
    bool emitEvent(const AIStreamEvent& event);
    void succeed();
    void fail(const OpenRouterError& error);
    void releaseReply();

    QUuid m_requestId;
    QPointer<QNetworkReply> m_reply;
    SSELineSplitter m_splitter;
    SSEParser m_parser;
    bool m_textSeen = false;
    bool m_ended = false;
};

} // namespace plimbo
