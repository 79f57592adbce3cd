#include "CameraStartWaiters.h"

namespace plimbo {

QFuture<void> CameraStartWaiters::failed(CameraError::Kind kind, const QString& message) {
    QPromise<void> promise;
    promise.start();
    promise.setException(std::make_exception_ptr(CameraError(kind, message)));
    promise.finish();
    return promise.future();
}

QFuture<void> CameraStartWaiters::add() {
    auto promise = std::make_unique<QPromise<void>>();
    promise->start();
    QFuture<void> future = promise->future();
    m_promises.push_back(std::move(promise));
    return future;
}

void CameraStartWaiters::finish(std::exception_ptr error) {
    // Taken first: whatever the futures' continuations do, this start is over.
    std::vector<std::unique_ptr<QPromise<void>>> promises = std::move(m_promises);
    m_promises.clear();
    for (const auto& promise : promises) {
        if (error) {
            promise->setException(error);
        }
        promise->finish();
    }
}

} // namespace plimbo
