#include "QueuedTaskExecutor.h"

#include <QCoreApplication>

namespace plimbo::test {

void QueuedTaskExecutor::post(Priority, std::function<void()> job) {
    ++m_posted;
    if (m_holding) {
        m_held.append(std::move(job));
        return;
    }
    QMetaObject::invokeMethod(qApp, std::move(job), Qt::QueuedConnection);
}

void QueuedTaskExecutor::runHeld() {
    const QList<std::function<void()>> jobs = std::exchange(m_held, {});
    for (const auto& job : jobs) {
        job();
    }
}

void QueuedTaskExecutor::release() {
    m_holding = false;
    for (auto& job : std::exchange(m_held, {})) {
        QMetaObject::invokeMethod(qApp, std::move(job), Qt::QueuedConnection);
    }
}

} // namespace plimbo::test
