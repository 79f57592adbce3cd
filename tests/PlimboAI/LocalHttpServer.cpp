#include "LocalHttpServer.h"

#include <QTimer>

#include <memory>

#include <sys/socket.h>

namespace plimbo::test {

QByteArray LocalHttpServer::Request::header(const QByteArray& name) const {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            return value;
        }
    }
    return {};
}

bool LocalHttpServer::Request::hasHeader(const QByteArray& name) const {
    for (const auto& header : headers) {
        if (header.first.compare(name, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

LocalHttpServer::LocalHttpServer(Handler handler, QObject* parent)
    : QObject(parent)
    , m_handler(std::move(handler)) {
    connect(&m_server, &QTcpServer::newConnection, this, &LocalHttpServer::accept);
    m_server.listen(QHostAddress::LocalHost, 0);
}

QUrl LocalHttpServer::baseUrl() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1/api/v1").arg(m_server.serverPort()));
}

LocalHttpServer::Response LocalHttpServer::eventStream(QList<QByteArray> pieces) {
    Response response;
    response.head = "HTTP/1.1 200 OK\r\nContent-Type: text/event-stream\r\n"
                    "Cache-Control: no-cache\r\nConnection: close\r\n\r\n";
    response.pieces = std::move(pieces);
    return response;
}

LocalHttpServer::Response LocalHttpServer::status(int code, const QByteArray& body,
                                                  const QByteArray& contentType) {
    Response response;
    response.head =
        "HTTP/1.1 " + QByteArray::number(code) + " Status\r\nContent-Type: " + contentType +
        "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n";
    response.pieces = {body};
    return response;
}

void LocalHttpServer::accept() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        ++m_openConnections;
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
            buffer->append(socket->readAll());
            const qsizetype headEnd = buffer->indexOf("\r\n\r\n");
            if (headEnd < 0 || socket->property("answered").toBool()) {
                return;
            }
            const QList<QByteArray> lines = buffer->left(headEnd).split('\n');
            Request request;
            const QList<QByteArray> requestLine = lines.first().trimmed().split(' ');
            request.method = requestLine.value(0);
            request.path = requestLine.value(1);
            qsizetype length = 0;
            for (qsizetype i = 1; i < lines.size(); ++i) {
                const qsizetype colon = lines[i].indexOf(':');
                if (colon < 0) {
                    continue;
                }
                const QByteArray name = lines[i].left(colon).trimmed();
                const QByteArray value = lines[i].mid(colon + 1).trimmed();
                request.headers.append({name, value});
                if (name.compare("Content-Length", Qt::CaseInsensitive) == 0) {
                    length = value.toLongLong();
                }
            }
            if (buffer->size() < headEnd + 4 + length) {
                return;
            }
            request.body = buffer->mid(headEnd + 4, length);
            socket->setProperty("answered", true);
            m_requests.append(request);
            const Response response = m_handler(request);
            auto pieces = std::make_shared<QList<QByteArray>>();
            pieces->append(response.head);
            for (const QByteArray& piece : response.pieces) {
                if (response.oneBytePerWrite) {
                    for (char c : piece) {
                        pieces->append(QByteArray(1, c));
                    }
                } else {
                    pieces->append(piece);
                }
            }
            writeNext(socket, pieces, response.interval, response.keepOpen,
                      response.resetAfterLastPiece);
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            --m_openConnections;
            socket->deleteLater();
        });
    }
}

void LocalHttpServer::writeNext(QTcpSocket* socket, std::shared_ptr<QList<QByteArray>> pieces,
                                std::chrono::milliseconds interval, bool keepOpen, bool reset) {
    if (socket->state() != QAbstractSocket::ConnectedState) {
        return;
    }
    if (pieces->isEmpty()) {
        if (reset) {
            // A zero linger time makes closing send a reset rather than a clean end.
            const linger abortive{1, 0};
            setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &abortive,
                       sizeof abortive);
            socket->abort();
        } else if (!keepOpen) {
            socket->disconnectFromHost();
        }
        return;
    }
    socket->write(pieces->takeFirst());
    socket->flush();
    const QPointer<QTcpSocket> guard(socket);
    QTimer::singleShot(interval, this, [this, guard, pieces, interval, keepOpen, reset] {
        if (guard) {
            writeNext(guard, pieces, interval, keepOpen, reset);
        }
    });
}

} // namespace plimbo::test
