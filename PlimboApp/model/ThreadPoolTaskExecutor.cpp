#include "ThreadPoolTaskExecutor.h"

#include <QThreadPool>

namespace plimbo {

ThreadPoolTaskExecutor::ThreadPoolTaskExecutor(QThreadPool* pool)
    : m_pool(pool ? pool : QThreadPool::globalInstance()) {}

void ThreadPoolTaskExecutor::post(Priority priority, std::function<void()> job) {
    m_pool->start(std::move(job), priority == Priority::userInitiated ? 1 : 0);
}

} // namespace plimbo
