#include "MiniCameraService.h"

#include "MainThreadContinuation.h"
#include "MiniCameraError.h"

#include <QPromise>

namespace plimbo {

namespace {

QFuture<void> finished() {
    QPromise<void> promise;
    promise.start();
    promise.finish();
    return promise.future();
}

// What the user is told when the pipeline would not start.
std::exception_ptr translate(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const CameraError& cameraError) {
        switch (cameraError.kind()) {
        case CameraError::Kind::noCamera:
            return std::make_exception_ptr(
                MiniCameraError(MiniCameraError::Kind::cameraUnavailable));
        case CameraError::Kind::deviceFailed:
            // The device's own explanation, unless it gave none.
            if (!cameraError.message().trimmed().isEmpty()) {
                return error;
            }
            break;
        case CameraError::Kind::inputRefused:
        case CameraError::Kind::interrupted:
            break;
        }
        return std::make_exception_ptr(MiniCameraError(MiniCameraError::Kind::inputUnavailable));
    } catch (...) {
        return std::make_exception_ptr(MiniCameraError(MiniCameraError::Kind::inputUnavailable));
    }
}

} // namespace

struct MiniCameraService::PendingStart {
    QUuid token;
    QPromise<void> promise;
};

MiniCameraService::MiniCameraService(std::shared_ptr<CameraCapture> capture, QObject* parent)
    : QObject(parent)
    , m_capture(std::move(capture)) {
    connect(m_capture.get(), &CameraCapture::failed, this, &MiniCameraService::captureFailed);
}

QFuture<void> MiniCameraService::toggle() {
    if (!m_isActive && !m_isStarting) {
        return start();
    }
    stop();
    return finished();
}

QFuture<void> MiniCameraService::start() {
    if (m_isStarting || m_isActive) {
        return finished();
    }
    auto pending = std::make_shared<PendingStart>();
    pending->token = QUuid::createUuid();
    pending->promise.start();
    QFuture<void> future = pending->promise.future();
    m_activationID = pending->token;
    setStarting(true);

    switch (m_capture->authorization()) {
    case CameraAuthorization::authorized:
        continueWithPermission(pending, true);
        break;
    case CameraAuthorization::denied:
    case CameraAuthorization::restricted:
        continueWithPermission(pending, false);
        break;
    case CameraAuthorization::notDetermined:
        whenFinished(m_capture->requestAccess(), this,
                     [this, pending](const QFuture<bool>& answer) {
                         bool granted = false;
                         try {
                             granted = resultOf(answer).value_or(false);
                         } catch (...) {
                             granted = false;
                         }
                         continueWithPermission(pending, granted);
                     });
        break;
    }
    return future;
}

void MiniCameraService::continueWithPermission(const std::shared_ptr<PendingStart>& pending,
                                               bool permitted) {
    if (!isCurrent(pending)) {
        pending->promise.finish();
        return;
    }
    if (!permitted) {
        fail(pending,
             std::make_exception_ptr(MiniCameraError(MiniCameraError::Kind::permissionDenied)));
        return;
    }
    whenFinished(m_capture->start(), this,
                 [this, pending](const QFuture<void>& done) { finishCaptureStart(pending, done); });
}

void MiniCameraService::finishCaptureStart(const std::shared_ptr<PendingStart>& pending,
                                           const QFuture<void>& done) {
    std::exception_ptr error;
    try {
        if (!completedNormally(done)) {
            error = std::make_exception_ptr(
                CameraError(CameraError::Kind::interrupted, QStringLiteral("Cancelled.")));
        }
    } catch (...) {
        error = std::current_exception();
    }
    if (error) {
        if (isCurrent(pending)) {
            fail(pending, translate(error));
        } else {
            pending->promise.finish();
        }
        return;
    }
    if (isCurrent(pending)) {
        setStarting(false);
        setActive(true);
    } else if (!m_activationID) {
        // Stopped while it was starting: the pipeline must not stay on.
        m_capture->stop();
    }
    // A newer start owns the running pipeline otherwise.
    pending->promise.finish();
}

void MiniCameraService::fail(const std::shared_ptr<PendingStart>& pending,
                             std::exception_ptr error) {
    m_activationID.reset();
    setStarting(false);
    pending->promise.setException(error);
    pending->promise.finish();
}

void MiniCameraService::stop() {
    m_activationID.reset();
    m_capture->stop();
    setActive(false);
    setStarting(false);
}

void MiniCameraService::captureFailed(CameraError::Kind kind, const QString& message) {
    if (!m_isActive) {
        return;
    }
    stop();
    QString description = message.trimmed();
    if (kind == CameraError::Kind::noCamera) {
        description = MiniCameraError(MiniCameraError::Kind::cameraUnavailable).description();
    } else if (description.isEmpty()) {
        description = MiniCameraError(MiniCameraError::Kind::inputUnavailable).description();
    }
    emit failed(description);
}

bool MiniCameraService::isCurrent(const std::shared_ptr<PendingStart>& pending) const {
    return m_activationID == pending->token;
}

void MiniCameraService::setActive(bool active) {
    if (m_isActive != active) {
        m_isActive = active;
        emit isActiveChanged();
    }
}

void MiniCameraService::setStarting(bool starting) {
    if (m_isStarting != starting) {
        m_isStarting = starting;
        emit isStartingChanged();
    }
}

} // namespace plimbo
