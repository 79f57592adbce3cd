#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

namespace plimbo::test {

// A loopback stand-in for the chat-completions endpoint: records every request and answers
// each with the scripted reply, optionally keeping the stream open until the client leaves.
class FakeOpenRouterServer : public QObject {
    Q_OBJECT
public:
    struct Reply {
        int status = 200;
        QByteArray contentType = "text/event-stream";
        // Sent as separate chunks of a chunked body.
        QList<QByteArray> pieces;
        // Leaves the body unfinished, as a stream still generating does.
        bool holdOpen = false;
    };

    struct Request {
        QByteArray method;
        QByteArray path;
        QHash<QByteArray, QByteArray> headers; // names in lower case
        QByteArray body;
    };

    explicit FakeOpenRouterServer(QObject* parent = nullptr);

    // The versioned API root the client appends its paths to.
    QUrl baseUrl() const;
    void setReply(Reply reply) { m_reply = std::move(reply); }

    const QList<Request>& requests() const { return m_requests; }
    // True once a client closed a stream that was being held open.
    bool heldStreamWasClosedByClient() const { return m_heldStreamClosed; }

    // One server-sent event carrying a content delta.
    static QByteArray contentEvent(const QString& text);
    static QByteArray doneEvent();

private:
    void accept();
    void read(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const Request& request);

    QTcpServer m_server;
    Reply m_reply;
    QList<Request> m_requests;
    QHash<QTcpSocket*, QByteArray> m_pending;
    bool m_heldStreamClosed = false;
};

} // namespace plimbo::test
