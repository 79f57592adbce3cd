#include "FakeOpenRouterServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>

namespace plimbo::test {

namespace {

QByteArray chunked(const QByteArray& piece) {
    return QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n";
}

QByteArray reasonPhrase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 401:
        return "Unauthorized";
    case 404:
        return "Not Found";
    default:
        return "Error";
    }
}

} // namespace

FakeOpenRouterServer::FakeOpenRouterServer(QObject* parent)
    : QObject(parent) {
    connect(&m_server, &QTcpServer::newConnection, this, &FakeOpenRouterServer::accept);
    m_server.listen(QHostAddress::LocalHost, 0);
}

QUrl FakeOpenRouterServer::baseUrl() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1/api/v1").arg(m_server.serverPort()));
}

QByteArray FakeOpenRouterServer::contentEvent(const QString& text) {
    const QJsonObject delta{{QStringLiteral("content"), text}};
    const QJsonObject choice{{QStringLiteral("index"), 0}, {QStringLiteral("delta"), delta}};
    const QJsonObject chunk{{QStringLiteral("id"), QStringLiteral("gen-test")},
                            {QStringLiteral("model"), QStringLiteral("openrouter/test")},
                            {QStringLiteral("choices"), QJsonArray{choice}}};
    return "data: " + QJsonDocument(chunk).toJson(QJsonDocument::Compact) + "\n\n";
}

QByteArray FakeOpenRouterServer::doneEvent() {
    return "data: [DONE]\n\n";
}

void FakeOpenRouterServer::accept() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_pending.remove(socket);
            socket->deleteLater();
        });
    }
}

void FakeOpenRouterServer::read(QTcpSocket* socket) {
    QByteArray& buffer = m_pending[socket];
    buffer += socket->readAll();
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0) {
        return;
    }
    Request request;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0) {
            request.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                   lines[i].mid(colon + 1).trimmed());
        }
    }
    const qsizetype length = request.headers.value("content-length", "0").toLongLong();
    if (buffer.size() < headerEnd + 4 + length) {
        return;
    }
    request.body = buffer.mid(headerEnd + 4, length);
    buffer.clear();
    m_requests.append(request);
    answer(socket, request);
}

void FakeOpenRouterServer::answer(QTcpSocket* socket, const Request& request) {
    if (request.path != "/api/v1/chat/completions") {
        socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    QByteArray head = "HTTP/1.1 " + QByteArray::number(m_reply.status) + ' ' +
                      reasonPhrase(m_reply.status) + "\r\nContent-Type: " + m_reply.contentType +
                      "\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n";
    socket->write(head);
    for (const QByteArray& piece : m_reply.pieces) {
        socket->write(chunked(piece));
    }
    if (m_reply.holdOpen) {
        connect(socket, &QTcpSocket::disconnected, this, [this] { m_heldStreamClosed = true; });
        return;
    }
    socket->write("0\r\n\r\n");
    socket->disconnectFromHost();
}

} // namespace plimbo::test
