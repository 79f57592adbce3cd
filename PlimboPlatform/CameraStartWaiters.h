#pragma once

#include "CameraError.h"

#include <QFuture>
#include <QPromise>

#include <exception>
#include <memory>
#include <vector>

namespace plimbo {

// The callers waiting for the camera start under way. Each gets a future of its own (a future
// takes only one continuation, so callers never share one); all of them end together.
class CameraStartWaiters {
public:
    // A start that has already failed.
    static QFuture<void> failed(CameraError::Kind kind, const QString& message);

    bool isEmpty() const { return m_promises.empty(); }
    // A future for one more caller.
    QFuture<void> add();
    // Ends every waiting start: failed with `error` when there is one, else succeeded.
    void finish(std::exception_ptr error);

private:
    std::vector<std::unique_ptr<QPromise<void>>> m_promises;
};

} // namespace plimbo
