#pragma once

#include "CameraCapture.h"
#include "CameraStartWaiters.h"

#include <QCamera>
#include <QCameraDevice>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <exception>
#include <memory>

namespace plimbo {

// The camera through QtMultimedia, set up on the first start. Linux has no camera permission
// prompt: access is the device node's file permissions, so a node this user may not open reads as
// denied and everything else as authorized.
class QtCameraCapture final : public CameraCapture {
    Q_OBJECT

public:
    // A camera that neither starts nor reports an error within this time counts as refused.
    static constexpr std::chrono::milliseconds startTimeout{8000};

    explicit QtCameraCapture(QObject* parent = nullptr);
    ~QtCameraCapture() override;

    CameraAuthorization authorization() const override;
    QFuture<bool> requestAccess() override;
    QFuture<void> start() override;
    void stop() override;
    bool isRunning() const override;
    void setVideoOutput(QObject* output) override;

private:
    void cameraActiveChanged(bool active);
    void cameraErrorOccurred(QCamera::Error error, const QString& message);
    void videoInputsChanged();
    void startTimedOut();
    // Drops the camera so the next start connects afresh.
    void disconnectCamera();

    // Made on the first start: the multimedia backend costs time and is not wanted at launch.
    void ensureSession();

    std::unique_ptr<QMediaCaptureSession> m_session;
    std::unique_ptr<QMediaDevices> m_devices;
    QPointer<QObject> m_videoOutput;
    QCameraDevice m_device;
    QCamera* m_camera = nullptr;
    CameraStartWaiters m_pendingStarts;
    QTimer m_startTimer;
};

} // namespace plimbo
