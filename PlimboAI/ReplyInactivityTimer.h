#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

class QNetworkReply;

namespace plimbo {

// Aborts a reply that has gone quiet for too long and remembers that it did, because Qt
// reports such an abort exactly like a cancellation (OperationCanceledError). Any traffic
// (upload, headers, body bytes) restarts the clock. Lives as a child of the reply.
class ReplyInactivityTimer : public QObject {
    Q_OBJECT
public:
    ReplyInactivityTimer(QNetworkReply* reply, std::chrono::milliseconds timeout);

    bool hasFired() const { return m_fired; }

    // The timer that belongs to this reply, if any.
    static bool firedFor(const QNetworkReply* reply);

private:
    void restart();
    void fire();

    QNetworkReply* m_reply;
    QTimer m_timer;
    bool m_fired = false;
};

} // namespace plimbo
