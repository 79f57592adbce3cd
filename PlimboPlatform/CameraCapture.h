#pragma once

#include "CameraError.h"

#include <QFuture>
#include <QObject>
#include <QString>

namespace plimbo {

// Whether this application may use the camera.
enum class CameraAuthorization { authorized, notDetermined, denied, restricted };

// The default video camera and the one capture pipeline that shows it, kept for the whole
// run. Main thread only; the pipeline reports through futures and signals, never by blocking.
class CameraCapture : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    virtual CameraAuthorization authorization() const = 0;
    // Asks the user for access; true when it is granted. Only meaningful while the
    // authorization is notDetermined.
    virtual QFuture<bool> requestAccess() = 0;
    // Connects the default camera on first use (and again after a failure) and starts the
    // pipeline. Fails with a CameraError: noCamera, inputRefused, deviceFailed (the device's
    // own message) or interrupted (stop() came first). A running pipeline succeeds at once.
    virtual QFuture<void> start() = 0;
    // Stops the pipeline when it runs; a start still under way then fails as interrupted.
    // The camera stays connected, so the next start only starts it again.
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
    // Where the picture goes (a QVideoWidget, QGraphicsVideoItem or QVideoSink); null for
    // nowhere.
    virtual void setVideoOutput(QObject* output) = 0;

signals:
    // The running camera failed (deviceFailed, with the device's message) or went away
    // (noCamera); the pipeline has stopped.
    void failed(plimbo::CameraError::Kind kind, const QString& message);
};

} // namespace plimbo
