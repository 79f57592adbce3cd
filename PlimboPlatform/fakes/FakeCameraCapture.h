#pragma once

#include "CameraCapture.h"
#include "CameraStartWaiters.h"

#include <QPromise>

#include <memory>
#include <optional>
#include <vector>

namespace plimbo {

// A camera in memory. Starts and access requests finish at once unless the test holds them
// (holdStarts, holdAccessRequests) and answers them later.
class FakeCameraCapture final : public CameraCapture {
    Q_OBJECT

public:
    explicit FakeCameraCapture(QObject* parent = nullptr);
    ~FakeCameraCapture() override;

    // --- what the system looks like
    CameraAuthorization authorizationState = CameraAuthorization::authorized;
    // The answer to an access request that is not held.
    bool grantsAccess = true;
    bool hasCamera = true;
    bool refusesInput = false;
    // The device's own error on connecting.
    std::optional<QString> deviceFailure;
    bool holdStarts = false;
    bool holdAccessRequests = false;
    // A held start outlives stop() and finishes when the test says, like a pipeline that
    // handles requests strictly in order.
    bool stopLeavesStartPending = false;

    // --- what was asked of it
    int accessRequests = 0;
    int startCalls = 0;
    int stopCalls = 0;
    int connections = 0;
    QObject* videoOutput = nullptr;

    CameraAuthorization authorization() const override { return authorizationState; }
    QFuture<bool> requestAccess() override;
    QFuture<void> start() override;
    void stop() override;
    bool isRunning() const override { return m_running; }
    void setVideoOutput(QObject* output) override { videoOutput = output; }

    bool hasPendingStart() const { return !m_pendingStarts.isEmpty(); }
    bool hasPendingAccessRequest() const { return !m_pendingAccess.empty(); }
    bool isConnected() const { return m_connected; }
    // Finishes the held start: the pipeline runs.
    void completeStart();
    // Finishes the held start with this error; the camera is disconnected.
    void failStart(CameraError::Kind kind, const QString& message);
    void answerAccess(bool granted);
    // The running camera breaks down or is unplugged.
    void failWhileRunning(CameraError::Kind kind, const QString& message);

private:
    CameraStartWaiters m_pendingStarts;
    // One promise per caller: a future takes only one continuation.
    std::vector<std::unique_ptr<QPromise<bool>>> m_pendingAccess;
    bool m_running = false;
    bool m_connected = false;
};

} // namespace plimbo
