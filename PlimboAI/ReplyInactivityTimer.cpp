#include "ReplyInactivityTimer.h"

#include <QNetworkReply>

namespace plimbo {

ReplyInactivityTimer::ReplyInactivityTimer(QNetworkReply* reply, std::chrono::milliseconds timeout)
    : QObject(reply)
    , m_reply(reply) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(timeout);
    connect(&m_timer, &QTimer::timeout, this, &ReplyInactivityTimer::fire);
    connect(reply, &QNetworkReply::uploadProgress, this, &ReplyInactivityTimer::restart);
    connect(reply, &QNetworkReply::downloadProgress, this, &ReplyInactivityTimer::restart);
    connect(reply, &QNetworkReply::metaDataChanged, this, &ReplyInactivityTimer::restart);
    connect(reply, &QNetworkReply::readyRead, this, &ReplyInactivityTimer::restart);
    connect(reply, &QNetworkReply::finished, &m_timer, &QTimer::stop);
    m_timer.start();
}

bool ReplyInactivityTimer::firedFor(const QNetworkReply* reply) {
    const auto* timer =
        reply->findChild<ReplyInactivityTimer*>(QString(), Qt::FindDirectChildrenOnly);
    return timer != nullptr && timer->hasFired();
}

void ReplyInactivityTimer::restart() {
    if (!m_reply->isFinished()) {
        m_timer.start();
    }
}

void ReplyInactivityTimer::fire() {
    m_fired = true;
    m_reply->abort();
}

} // namespace plimbo
