#pragma once

#include "AIStreamEvent.h"
#include "OpenRouterError.h"
#include "StreamBodyDecoder.h"

#include <QObject>
#include <QPointer>
#include <QUuid>

class QNetworkReply;

namespace plimbo {

// The streamed answer of one chat request, made by OpenRouterClient::stream(). Emits
// eventReceived for each event in order, then exactly one of finished() or failed(); after that
// it deletes itself (deleteLater). Connect right after stream() returns: nothing is emitted
// before control goes back to the event loop. Deleting it earlier abandons the request silently.
class OpenRouterStream : public QObject {
    Q_OBJECT
public:
    ~OpenRouterStream() override;

    QUuid requestID() const { return m_requestID; }
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
    OpenRouterStream(const QUuid& requestID, QNetworkReply* reply, QObject* parent);

    void onMetaDataChanged();
    void onReadyRead();
    void onReplyFinished();
    bool statusRejected();
    // Ends the stream when the body decoder says the reply has ended.
    void apply(const StreamBodyDecoder::Outcome& outcome);
    bool emitEvent(const AIStreamEvent& event);
    void succeed();
    void fail(const OpenRouterError& error);
    void releaseReply();

    QUuid m_requestID;
    QPointer<QNetworkReply> m_reply;
    StreamBodyDecoder m_decoder;
    bool m_ended = false;
};

} // namespace plimbo
