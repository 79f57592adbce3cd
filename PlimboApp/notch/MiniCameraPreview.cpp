#include "MiniCameraPreview.h"

#include "CameraCapture.h"

#include <QPainter>
#include <QPainterPath>

namespace plimbo {

MiniCameraPreview::MiniCameraPreview(CameraCapture& capture, qreal cornerRadius, QWidget* parent)
    : QWidget(parent)
    , m_capture(capture)
    , m_cornerRadius(cornerRadius) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    connect(&m_sink, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame& frame) {
        m_frame = frame;
        update();
    });
    m_capture.setVideoOutput(&m_sink);
}

MiniCameraPreview::~MiniCameraPreview() {
    m_capture.setVideoOutput(nullptr);
}

void MiniCameraPreview::setCornerRadius(qreal radius) {
    if (m_cornerRadius != radius) {
        m_cornerRadius = radius;
        update();
    }
}

void MiniCameraPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath clip;
    clip.addRoundedRect(QRectF(rect()), m_cornerRadius, m_cornerRadius);
    painter.setClipPath(clip);
    painter.fillRect(rect(), Qt::black);
    if (!m_frame.isValid()) {
        return;
    }
    const QImage image = m_frame.toImage();
    if (image.isNull()) {
        return;
    }
    // Fill and crop: scale until both sides cover the view, then centre.
    const QSizeF covered =
        QSizeF(image.size()).scaled(QSizeF(size()), Qt::KeepAspectRatioByExpanding);
    const QRectF target((width() - covered.width()) / 2, (height() - covered.height()) / 2,
                        covered.width(), covered.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
}

} // namespace plimbo
