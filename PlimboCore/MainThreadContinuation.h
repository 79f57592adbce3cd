#pragma once

#include <QCoreApplication>
#include <QFuture>
#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

namespace plimbo {

// Runs the callback on the main thread once the future is done, however it ended (result,
// exception or cancellation), and not at all once `owner` is gone. The continuation is bound
// to the application object rather than the owner: Qt 6.4 asserts when a continuation's
// context dies before its future finishes. When the future finishes on the main thread the
// callback may run at once, inside the code that finished it.
template <typename T, typename Callback>
void whenFinished(const QFuture<T>& future, QObject* owner, Callback callback) {
    auto shared = std::make_shared<Callback>(std::move(callback));
    QPointer<QObject> guard(owner);
    QFuture<T> parent = future;
    parent
        .then(qApp,
              [shared, guard](const QFuture<T>& done) {
                  if (guard) {
                      (*shared)(done);
                  }
              })
        .onCanceled(qApp, [shared, guard, parent] {
            if (guard) {
                (*shared)(parent);
            }
        });
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
