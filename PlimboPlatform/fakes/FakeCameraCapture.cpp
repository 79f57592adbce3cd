#include "FakeCameraCapture.h"

namespace plimbo {

namespace {

QFuture<void> failedStart(CameraError::Kind kind, const QString& message) {
    QPromise<void> promise;
    promise.start();
    promise.setException(std::make_exception_ptr(CameraError(kind, message)));
    promise.finish();
    return promise.future();
}

} // namespace

FakeCameraCapture::FakeCameraCapture(QObject* parent)
    : CameraCapture(parent) {}

FakeCameraCapture::~FakeCameraCapture() {
    finishStarts(std::make_exception_ptr(
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
    if (!m_pendingStarts.empty()) {
        return waitForStart();
    }
    if (!m_connected) {
        if (!hasCamera) {
            return failedStart(CameraError::Kind::noCamera, QStringLiteral("No video input."));
        }
        if (deviceFailure) {
            return failedStart(CameraError::Kind::deviceFailed, *deviceFailure);
        }
        if (refusesInput) {
            return failedStart(CameraError::Kind::inputRefused, QStringLiteral("Refused."));
        }
        m_connected = true;
        ++connections;
    }
    QFuture<void> future = waitForStart();
    if (m_running || !holdStarts) {
        m_running = true;
        finishStarts(nullptr);
    }
    return future;
}

void FakeCameraCapture::stop() {
    ++stopCalls;
    m_running = false;
    if (!stopLeavesStartPending) {
        finishStarts(std::make_exception_ptr(
            CameraError(CameraError::Kind::interrupted, QStringLiteral("Stopped."))));
    }
}

void FakeCameraCapture::completeStart() {
    if (!m_pendingStarts.empty()) {
        m_running = true;
        finishStarts(nullptr);
    }
}

void FakeCameraCapture::failStart(CameraError::Kind kind, const QString& message) {
    if (!m_pendingStarts.empty()) {
        m_connected = false;
        finishStarts(std::make_exception_ptr(CameraError(kind, message)));
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

QFuture<void> FakeCameraCapture::waitForStart() {
    auto promise = std::make_unique<QPromise<void>>();
    promise->start();
    QFuture<void> future = promise->future();
    m_pendingStarts.push_back(std::move(promise));
    return future;
}

void FakeCameraCapture::finishStarts(std::exception_ptr error) {
    std::vector<std::unique_ptr<QPromise<void>>> promises = std::move(m_pendingStarts);
    m_pendingStarts.clear();
    for (const auto& promise : promises) {
        if (error) {
            promise->setException(error);
        }
        promise->finish();
    }
}

} // namespace plimbo
