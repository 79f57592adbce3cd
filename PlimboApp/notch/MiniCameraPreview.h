#pragma once

#include <QVideoFrame>
#include <QVideoSink>
#include <QWidget>

namespace plimbo {

class CameraCapture;

// The live camera picture: fills its rectangle and crops the rest (never letterboxed), with
// rounded corners. It takes the capture pipeline's picture for as long as it exists.
class MiniCameraPreview : public QWidget {
    Q_OBJECT

public:
    MiniCameraPreview(CameraCapture& capture, qreal cornerRadius, QWidget* parent = nullptr);
    ~MiniCameraPreview() override;

    void setCornerRadius(qreal radius);
    qreal cornerRadius() const { return m_cornerRadius; }
    QVideoSink& sink() { return m_sink; }
    bool hasFrame() const { return m_frame.isValid(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CameraCapture& m_capture;
    qreal m_cornerRadius;
    QVideoSink m_sink;
    QVideoFrame m_frame;
};

} // namespace plimbo
