#pragma once

#include <QWidget>

namespace plimbo {

class MiniCameraPreview;
class NotchCircleButton;
class NotchSpinner;
class NotchSurfaceView;

// The live camera picture in the expanded shelf, 16:9 with rounded corners, a caption along
// its bottom and a close button. While the camera starts it shows a spinner instead.
class NotchCameraStage : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal cornerRadius = 22;

    explicit NotchCameraStage(NotchSurfaceView& surface, QWidget* parent = nullptr);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

    bool showsLivePreview() const;
    QString captionText() const;
    // Null until the camera is first started, and when the model's camera has no pipeline.
    MiniCameraPreview* preview() const { return m_preview; }
    NotchCircleButton& closeButton() const { return *m_close; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void refresh();
    bool isActive() const;

    NotchSurfaceView& m_surface;
    MiniCameraPreview* m_preview = nullptr;
    NotchSpinner* m_spinner;
    QWidget* m_overlay;
    NotchCircleButton* m_close;
};

} // namespace plimbo
