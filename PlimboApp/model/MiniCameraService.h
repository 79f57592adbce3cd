#pragma once

#include "CameraCapture.h"
#include "MiniCamera.h"

#include <QFuture>
#include <QObject>
#include <QUuid>

#include <memory>
#include <optional>

namespace plimbo {

// The notch's live camera preview: asks for access when needed, starts and stops the one
// capture pipeline, and publishes whether the preview is starting or running (never both).
// Each accepted start carries a token; stop() and a newer start make it stale, and a stale
// start reports nothing and changes nothing. Main thread.
class MiniCameraService : public QObject, public MiniCamera {
    Q_OBJECT
    Q_PROPERTY(bool isActive READ isActive NOTIFY isActiveChanged)
    Q_PROPERTY(bool isStarting READ isStarting NOTIFY isStartingChanged)

public:
    explicit MiniCameraService(std::shared_ptr<CameraCapture> capture, QObject* parent = nullptr);

    bool isActive() const override { return m_isActive; }
    bool isStarting() const override { return m_isStarting; }
    // Starts when neither starting nor active, else stops.
    QFuture<void> toggle() override;
    // Finishes at once while starting or active. Fails with a MiniCameraError, or with the
    // camera's own CameraError when the device reported one; a start gone stale finishes
    // normally.
    QFuture<void> start();
    void stop() override;

    // The pipeline the preview draws from.
    CameraCapture& capture() const { return *m_capture; }

signals:
    void isActiveChanged();
    void isStartingChanged();
    // The running preview broke down or lost its camera and has been stopped; the text is
    // for the user.
    void failed(const QString& description);

private:
    struct PendingStart;

    void continueWithPermission(const std::shared_ptr<PendingStart>& pending, bool permitted);
    void finishCaptureStart(const std::shared_ptr<PendingStart>& pending,
                            const QFuture<void>& done);
    void fail(const std::shared_ptr<PendingStart>& pending, std::exception_ptr error);
    void captureFailed(CameraError::Kind kind, const QString& message);
    bool isCurrent(const std::shared_ptr<PendingStart>& pending) const;
    void setActive(bool active);
    void setStarting(bool starting);

    std::shared_ptr<CameraCapture> m_capture;
    std::optional<QUuid> m_activationID;
    bool m_isActive = false;
    bool m_isStarting = false;
};

} // namespace plimbo
