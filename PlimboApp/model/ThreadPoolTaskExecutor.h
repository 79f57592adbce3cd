#pragma once

#include "TaskExecutor.h"

class QThreadPool;

namespace plimbo {

// Runs jobs on a thread pool (the global one unless another is given); user-initiated jobs
// go ahead of housekeeping ones.
class ThreadPoolTaskExecutor : public TaskExecutor {
public:
    explicit ThreadPoolTaskExecutor(QThreadPool* pool = nullptr);

    void post(Priority priority, std::function<void()> job) override;

private:
    QThreadPool* m_pool;
};

} // namespace plimbo
