#pragma once

#include <QFuture>
#include <QPromise>

#include <exception>
#include <functional>
#include <memory>
#include <type_traits>

namespace plimbo {

// Where the model's background work runs (file reads, encoding, deletions, the key lookup).
// Jobs must not touch model state; their results come back through the futures that
// runInBackground() returns.
class TaskExecutor {
public:
    // userInitiated: the user waits for it (a request, an attachment); utility: housekeeping.
    enum class Priority { userInitiated, utility };

    virtual ~TaskExecutor() = default;

    // Runs the job later, off the caller's stack. An executor that drops a job unrun must
    // destroy it, which cancels the job's future.
    virtual void post(Priority priority, std::function<void()> job) = 0;
};

// Runs fn through the executor; the future carries its result or the exception it threw.
template <typename Fn>
auto runInBackground(TaskExecutor& executor, TaskExecutor::Priority priority, Fn fn)
    -> QFuture<std::invoke_result_t<Fn>> {
    using Result = std::invoke_result_t<Fn>;
    auto promise = std::make_shared<QPromise<Result>>();
    promise->start();
    QFuture<Result> future = promise->future();
    executor.post(priority, [promise, fn = std::move(fn)]() mutable {
        try {
            if constexpr (std::is_void_v<Result>) {
                fn();
            } else {
                promise->addResult(fn());
            }
        } catch (...) {
            promise->setException(std::current_exception());
        }
        promise->finish();
    });
    return future;
}

} // namespace plimbo
