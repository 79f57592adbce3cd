#pragma once

#include "NotchButton.h"

namespace plimbo {

class NotchSpinner;
class NotchSurfaceView;

// The round camera button in the shelf's header: opens the mini camera, shows a spinner
// while it starts, and closes it again.
class NotchCameraControl : public NotchButton {
    Q_OBJECT

public:
    static constexpr int side = 46;

    explicit NotchCameraControl(NotchSurfaceView& surface, QWidget* parent = nullptr);

    QString symbol() const;
    QColor symbolColor() const;
    QColor fillColor() const;
    QColor strokeColor() const;
    qreal strokeWidth() const;
    bool showsSpinner() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    void refresh();
    bool isActive() const;
    bool isStarting() const;

    NotchSurfaceView& m_surface;
    NotchSpinner* m_spinner;
};

} // namespace plimbo
