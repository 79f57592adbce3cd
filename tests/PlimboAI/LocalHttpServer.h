#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

#include <chrono>
#include <functional>

namespace plimbo::test {

// A tiny HTTP/1.1 server on 127.0.0.1 that answers each request with a scripted response,
// written piece by piece so tests can replay how the real service trickles out a stream.
class LocalHttpServer : public QObject {
    Q_OBJECT
public:
    struct Request {
        QByteArray method;
        QByteArray path;
        QList<QPair<QByteArray, QByteArray>> headers;
        QByteArray body;

        // Case-insensitive lookup; empty when missing.
        QByteArray header(const QByteArray& name) const;
        bool hasHeader(const QByteArray& name) const;
    };

    struct Response {
        QByteArray head; // status line and headers, up to and including the blank line
        QList<QByteArray> pieces;
        std::chrono::milliseconds interval{0}; // pause before each piece after the first
        bool oneBytePerWrite = false;
        bool keepOpen = false;            // leave the connection open after the last piece
        bool resetAfterLastPiece = false; // end with a TCP reset instead of a close
    };

    using Handler = std::function<Response(const Request&)>;

    explicit LocalHttpServer(Handler handler, QObject* parent = nullptr);

    // http://127.0.0.1:<port>/api/v1
    QUrl baseUrl() const;
    const QList<Request>& requests() const { return m_requests; }
    int openConnections() const { return m_openConnections; }

    // A body closed by the end of the connection, as event streams usually come.
    static Response eventStream(QList<QByteArray> pieces);
    static Response status(int code, const QByteArray& body,
                           const QByteArray& contentType = "application/json");
    static Response json(const QByteArray& body) { return status(200, body); }

private:
    void accept();
    void readFrom(QTcpSocket* socket);
    void writeNext(QTcpSocket* socket, std::shared_ptr<QList<QByteArray>> pieces,
                   std::chrono::milliseconds interval, bool keepOpen, bool reset);

    Handler m_handler;
    QTcpServer m_server;
    QList<Request> m_requests;
    int m_openConnections = 0;
};

} // namespace plimbo::test
