#pragma once

#include <QCoreApplication>
#include <QFuture>
#include <QObject>
#include <QPointer>
#include <QThread>

#include <memory>
#include <optional>

namespace plimbo {

// Runs the callback on the main thread once the future is done, however it ended (result,
// exception or cancellation), and not at all once `owner` is gone. Qt 6.4 asserts when a
// continuation's context dies before its future finishes, and at exit even the application
// object goes first (futures still waiting in the event queue are cancelled after it), so the
// continuations here run where the future ends and make the hop to the main thread themselves,
// only while the application still exists. When the future finishes on the main thread the
// callback may run at once, inside the code that finished it.
namespace detail {

template <typename T, typename Callback>
void runContinuation(Callback& callback, const QFuture<T>& future) {
    try {
        callback(future);
    } catch (...) {
        // As with any continuation's failure, nobody is waiting to hear of it.
    }
}

} // namespace detail

template <typename T, typename Callback>
void whenFinished(const QFuture<T>& future, QObject* owner, Callback callback) {
    QCoreApplication* app = QCoreApplication::instance();
    // Already finished on the main thread (health checks, ready results): the continuation
    // machinery below would end in this same call, at several times the cost.
    if (future.isFinished() && app && QThread::currentThread() == app->thread()) {
        if (owner) {
            detail::runContinuation(callback, future);
        }
        return;
    }
    auto shared = std::make_shared<Callback>(std::move(callback));
    QPointer<QObject> guard(owner);
    QFuture<T> parent = future;
    auto onMainThread = [shared, guard, parent] {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app) {
            return;
        }
        QMetaObject::invokeMethod(app, [shared, guard, parent] {
            if (guard) {
                detail::runContinuation(*shared, parent);
            }
        });
    };
    parent.then(QtFuture::Launch::Sync, [onMainThread](const QFuture<T>&) { onMainThread(); })
        .onCanceled(onMainThread);
}

// The result of a finished future: rethrows the exception it failed with, and gives none when
// it was cancelled without a result (a job its executor dropped).
template <typename T> std::optional<T> resultOf(const QFuture<T>& future) {
    QFuture<T> finished = future;
    finished.waitForFinished(); // returns at once for a finished future; rethrows its failure
    if (finished.resultCount() == 0) {
        return std::nullopt;
    }
    return finished.result();
}

// For futures without a result: rethrows the failure; false when it was cancelled.
inline bool completedNormally(const QFuture<void>& future) {
    QFuture<void> finished = future;
    finished.waitForFinished();
    return !finished.isCanceled();
}

} // namespace plimbo
