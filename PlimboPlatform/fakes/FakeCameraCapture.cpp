#include "FakeCameraCapture.h"

namespace plimbo {

FakeCameraCapture::FakeCameraCapture(QObject* parent)
    : CameraCapture(parent) {}

FakeCameraCapture::~FakeCameraCapture() {
    m_pendingStarts.finish(std::make_exception_ptr(
        CameraError(CameraError::Kind::interrupted, QStringLiteral("gone"))));
    answerAccess(false);
}

QFuture<bool> FakeCameraCapture::requestAccess() {
    ++accessRequests;
    auto promise = std::make_unique<QPromise<bool>>();
    promise->start();
    QFuture<bool> future = promise->future();
    if (holdAccessRequests) {
        m_pendingAccess.push_back(std::move(promise));
    } else {
        promise->addResult(grantsAccess);
        promise->finish();
    }
    return future;
}

QFuture<void> FakeCameraCapture::start() {
    ++startCalls;
    if (!m_pendingStarts.isEmpty()) {
        return m_pendingStarts.add();
    }
    if (!m_connected) {
        if (!hasCamera) {
            return CameraStartWaiters::failed(CameraError::Kind::noCamera,
                                              QStringLiteral("No video input."));
        }
        if (deviceFailure) {
            return CameraStartWaiters::failed(CameraError::Kind::deviceFailed, *deviceFailure);
        }
        if (refusesInput) {
            return CameraStartWaiters::failed(CameraError::Kind::inputRefused,
                                              QStringLiteral("Refused."));
        }
        m_connected = true;
        ++connections;
    }
    QFuture<void> future = m_pendingStarts.add();
    if (m_running || !holdStarts) {
        m_running = true;
        m_pendingStarts.finish(nullptr);
    }
    return future;
}

void FakeCameraCapture::stop() {
    ++stopCalls;
    m_running = false;
    if (!stopLeavesStartPending) {
        m_pendingStarts.finish(std::make_exception_ptr(
            CameraError(CameraError::Kind::interrupted, QStringLiteral("Stopped."))));
    }
}

void FakeCameraCapture::completeStart() {
    if (!m_pendingStarts.isEmpty()) {
        m_running = true;
        m_pendingStarts.finish(nullptr);
    }
}

void FakeCameraCapture::failStart(CameraError::Kind kind, const QString& message) {
    if (!m_pendingStarts.isEmpty()) {
        m_connected = false;
        m_pendingStarts.finish(std::make_exception_ptr(CameraError(kind, message)));
    }
}

void FakeCameraCapture::answerAccess(bool granted) {
    std::vector<std::unique_ptr<QPromise<bool>>> promises = std::move(m_pendingAccess);
    m_pendingAccess.clear();
    for (const auto& promise : promises) {
        promise->addResult(granted);
        promise->finish();
    }
}

void FakeCameraCapture::failWhileRunning(CameraError::Kind kind, const QString& message) {
    if (!m_running) {
        return;
    }
    m_running = false;
    m_connected = false;
    emit failed(kind, message);
}

} // namespace plimbo
