#pragma once

#include <QWidget>

namespace plimbo {

class NotchCameraControl;
class NotchCircleButton;
class NotchSurfaceView;

// The expanded shelf's first row: brand tile, title and subtitle, the camera button, the
// monitor's status and the collapse button.
class NotchShelfHeader : public QWidget {
    Q_OBJECT

public:
    static constexpr int height = 46;

    explicit NotchShelfHeader(NotchSurfaceView& surface, QWidget* parent = nullptr);

    QString subtitle() const;
    QString monitorStatus() const;
    NotchCameraControl& cameraControl() const { return *m_camera; }
    NotchCircleButton& collapseButton() const { return *m_collapse; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRectF pillRect() const;
    void layoutChildren();

    NotchSurfaceView& m_surface;
    NotchCameraControl* m_camera;
    NotchCircleButton* m_collapse;
};

} // namespace plimbo
