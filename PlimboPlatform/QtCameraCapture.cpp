#include "QtCameraCapture.h"

#include <QFileInfo>

#include <unistd.h>

namespace plimbo {

namespace {

QFuture<void> finishedStart() {
    QPromise<void> promise;
    promise.start();
    promise.finish();
    return promise.future();
}

} // namespace

QtCameraCapture::QtCameraCapture(QObject* parent)
    : CameraCapture(parent) {
    m_startTimer.setSingleShot(true);
    m_startTimer.setInterval(startTimeout);
    connect(&m_startTimer, &QTimer::timeout, this, &QtCameraCapture::startTimedOut);
}

QtCameraCapture::~QtCameraCapture() {
    if (!m_pendingStarts.isEmpty()) {
        m_pendingStarts.finish(std::make_exception_ptr(
            CameraError(CameraError::Kind::interrupted, QStringLiteral("The camera went away."))));
    }
    if (m_camera) {
        m_session->setCamera(nullptr);
        delete m_camera;
    }
}

CameraAuthorization QtCameraCapture::authorization() const {
    const QCameraDevice device = QMediaDevices::defaultVideoInput();
    if (device.isNull()) {
        // Nothing to be denied: the start reports the missing camera.
        return CameraAuthorization::authorized;
    }
    // The GStreamer backend names a camera by its device node.
    const QString node = QString::fromUtf8(device.id());
    if (node.startsWith(QLatin1String("/dev/")) && QFileInfo::exists(node) &&
        ::access(node.toLocal8Bit().constData(), R_OK | W_OK) != 0) {
        return CameraAuthorization::denied;
    }
    return CameraAuthorization::authorized;
}

QFuture<bool> QtCameraCapture::requestAccess() {
    // There is no prompt to show; the answer is what the device permissions already say.
    QPromise<bool> promise;
    promise.start();
    promise.addResult(authorization() == CameraAuthorization::authorized);
    promise.finish();
    return promise.future();
}

QFuture<void> QtCameraCapture::start() {
    if (!m_pendingStarts.isEmpty()) {
        return m_pendingStarts.add();
    }
    if (!m_camera) {
        // QCamera records a missing device in its constructor without any signal, so look
        // at the device list first.
        const QList<QCameraDevice> inputs = QMediaDevices::videoInputs();
        if (inputs.isEmpty()) {
            return CameraStartWaiters::failed(CameraError::Kind::noCamera,
                                              QStringLiteral("No video input."));
        }
        QCameraDevice device = QMediaDevices::defaultVideoInput();
        if (device.isNull()) {
            device = inputs.first();
        }
        auto* camera = new QCamera(device);
        if (camera->error() != QCamera::NoError) {
            const QString message = camera->errorString();
            delete camera;
            return CameraStartWaiters::failed(CameraError::Kind::deviceFailed, message);
        }
        ensureSession();
        m_session->setCamera(camera);
        if (m_session->camera() != camera) {
            delete camera;
            return CameraStartWaiters::failed(
                CameraError::Kind::inputRefused,
                QStringLiteral("The capture session refused the camera."));
        }
        connect(camera, &QCamera::activeChanged, this, &QtCameraCapture::cameraActiveChanged);
        connect(camera, &QCamera::errorOccurred, this, &QtCameraCapture::cameraErrorOccurred);
        m_camera = camera;
        m_device = device;
    }
    if (m_camera->isActive()) {
        return finishedStart();
    }
    QFuture<void> future = m_pendingStarts.add();
    m_startTimer.start();
    // The camera may answer at once, from inside start().
    m_camera->start();
    return future;
}

void QtCameraCapture::stop() {
    m_startTimer.stop();
    if (m_camera) {
        m_camera->stop();
    }
    if (!m_pendingStarts.isEmpty()) {
        m_pendingStarts.finish(std::make_exception_ptr(CameraError(
            CameraError::Kind::interrupted, QStringLiteral("The camera was stopped."))));
    }
}

bool QtCameraCapture::isRunning() const {
    return m_camera && m_camera->isActive();
}

void QtCameraCapture::setVideoOutput(QObject* output) {
    m_videoOutput = output;
    if (m_session) {
        m_session->setVideoOutput(output);
    }
}

void QtCameraCapture::ensureSession() {
    if (m_session) {
        return;
    }
    m_session = std::make_unique<QMediaCaptureSession>();
    if (m_videoOutput) {
        m_session->setVideoOutput(m_videoOutput);
    }
    m_devices = std::make_unique<QMediaDevices>();
    connect(m_devices.get(), &QMediaDevices::videoInputsChanged, this,
            &QtCameraCapture::videoInputsChanged);
}

void QtCameraCapture::cameraActiveChanged(bool active) {
    if (active && !m_pendingStarts.isEmpty()) {
        m_startTimer.stop();
        m_pendingStarts.finish(nullptr);
    }
}

void QtCameraCapture::cameraErrorOccurred(QCamera::Error error, const QString& message) {
    if (error == QCamera::NoError) {
        return;
    }
    const bool wasStarting = !m_pendingStarts.isEmpty();
    const bool wasRunning = isRunning();
    m_startTimer.stop();
    disconnectCamera();
    if (wasStarting) {
        m_pendingStarts.finish(
            std::make_exception_ptr(CameraError(CameraError::Kind::deviceFailed, message)));
    } else if (wasRunning) {
        emit failed(CameraError::Kind::deviceFailed, message);
    }
}

void QtCameraCapture::videoInputsChanged() {
    if (!m_camera || QMediaDevices::videoInputs().contains(m_device)) {
        return;
    }
    const bool wasStarting = !m_pendingStarts.isEmpty();
    const bool wasRunning = isRunning();
    m_startTimer.stop();
    disconnectCamera();
    const QString message = QStringLiteral("The camera was disconnected.");
    if (wasStarting) {
        m_pendingStarts.finish(
            std::make_exception_ptr(CameraError(CameraError::Kind::noCamera, message)));
    } else if (wasRunning) {
        emit failed(CameraError::Kind::noCamera, message);
    }
}

void QtCameraCapture::startTimedOut() {
    if (m_pendingStarts.isEmpty()) {
        return;
    }
    disconnectCamera();
    m_pendingStarts.finish(std::make_exception_ptr(CameraError(
        CameraError::Kind::inputRefused, QStringLiteral("The camera did not start in time."))));
}

void QtCameraCapture::disconnectCamera() {
    if (!m_camera) {
        return;
    }
    QCamera* camera = m_camera;
    m_camera = nullptr;
    m_device = QCameraDevice();
    disconnect(camera, nullptr, this, nullptr);
    camera->stop();
    m_session->setCamera(nullptr);
    // It may be reporting from inside one of its own signals.
    camera->deleteLater();
}

} // namespace plimbo
