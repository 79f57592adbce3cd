#include "SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

#include <algorithm>

namespace plimbo {

namespace {

const QByteArray reopenRequest = QByteArrayLiteral("reopen\n");
const QByteArray reopenAnswer = QByteArrayLiteral("ok\n");

int remainingMs(const QDeadlineTimer& deadline) {
    return static_cast<int>(std::clamp<qint64>(deadline.remainingTime(), 1, 60000));
}

} // namespace

SingleInstance::SingleInstance(QString directory, QString name, QObject* parent)
    : QObject(parent)
    , m_directory(std::move(directory))
    , m_name(std::move(name)) {}

SingleInstance::~SingleInstance() {
    if (m_server) {
        m_server->close();
    }
}

QString SingleInstance::defaultDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

QString SingleInstance::defaultName() {
    return QStringLiteral("Plimbo-%1").arg(getuid());
}

QString SingleInstance::socketPath() const {
    return QDir(m_directory).filePath(m_name + QStringLiteral(".socket"));
}

QString SingleInstance::lockPath() const {
    return QDir(m_directory).filePath(m_name + QStringLiteral(".lock"));
}

SingleInstance::Role SingleInstance::claim(int handOverTimeoutMs) {
    QDir().mkpath(m_directory);
    auto lock = std::make_unique<QLockFile>(lockPath());
    // Only a dead owner makes the lock stale, never its age: an instance may run for weeks.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        m_lock = std::move(lock);
        listen();
        return Role::primary;
    }
    if (lock->error() != QLockFile::LockFailedError) {
        // The folder cannot hold a lock: run without the guard rather than not at all.
        listen();
        return Role::primary;
    }
    return handOver(socketPath(), handOverTimeoutMs) ? Role::handedOver : Role::unreachable;
}

bool SingleInstance::listen() {
    // A socket file left by a crashed instance would make listen() fail; the lock says it is
    // ours now.
    QLocalServer::removeServer(socketPath());
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return m_server->listen(socketPath());
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() == reopenRequest) {
                    socket->write(reopenAnswer);
                    socket->flush();
                    emit reopenRequested();
                }
            }
            // A peer that sends anything but short lines is not one of ours.
            if (socket->bytesAvailable() > 64) {
                socket->abort();
            }
        });
    }
}

bool SingleInstance::handOver(const QString& socketPath, int timeoutMs) {
    // Runs before any event loop, in a process that ends right after: waiting here blocks
    // nothing else.
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(remainingMs(deadline))) {
            // Once the request is out it is never sent twice: the answer is awaited here.
            socket.write(reopenRequest);
            if (!socket.waitForBytesWritten(remainingMs(deadline))) {
                return false;
            }
            while (!socket.canReadLine() && socket.waitForReadyRead(remainingMs(deadline))) {
            }
            return socket.canReadLine() && socket.readLine() == reopenAnswer;
        }
        // The running instance may still be starting up: its socket is not there yet.
        QThread::msleep(50);
    }
    return false;
}

} // namespace plimbo
