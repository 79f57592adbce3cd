#include "NotchCameraControl.h"

#include "ChatStyle.h"
#include "DesktopActions.h"
#include "MiniCamera.h"
#include "NotchSpinner.h"
#include "NotchSurfaceView.h"
#include "NotchSymbols.h"
#include "PlimboTheme.h"

#include <QPainter>

namespace plimbo {

NotchCameraControl::NotchCameraControl(NotchSurfaceView& surface, QWidget* parent)
    : NotchButton(parent)
    , m_surface(surface)
    , m_spinner(new NotchSpinner(16, Qt::white, this)) {
    setFixedSize(side, side);
    m_spinner->move((side - m_spinner->width()) / 2, (side - m_spinner->height()) / 2);
    connect(this, &QAbstractButton::clicked, this,
            [this] { m_surface.features().desktop.toggleMiniCamera(); });
    connect(&surface, &NotchSurfaceView::cameraPresentationChanged, this,
            &NotchCameraControl::refresh);
    refresh();
}

bool NotchCameraControl::isActive() const {
    const MiniCamera* camera = m_surface.features().camera;
    return camera && camera->isActive();
}

bool NotchCameraControl::isStarting() const {
    const MiniCamera* camera = m_surface.features().camera;
    return camera && camera->isStarting();
}

bool NotchCameraControl::showsSpinner() const {
    return isStarting();
}

QString NotchCameraControl::symbol() const {
    return isActive() ? QStringLiteral("video.slash.fill") : QStringLiteral("video.fill");
}

QColor NotchCameraControl::symbolColor() const {
    return isActive() ? PlimboTheme::positive() : ChatStyle::white(0.82);
}

QColor NotchCameraControl::fillColor() const {
    return ChatStyle::white(isActive() ? 0.04 : 0.11);
}

QColor NotchCameraControl::strokeColor() const {
    if (isFocused()) {
        return PlimboTheme::accent();
    }
    return isActive() ? PlimboTheme::positive() : ChatStyle::white(0.16);
}

qreal NotchCameraControl::strokeWidth() const {
    return isActive() || isFocused() ? 2 : 1;
}

void NotchCameraControl::refresh() {
    setTitle(isActive() ? QStringLiteral("Close mini camera") : QStringLiteral("Open mini camera"));
    m_spinner->setVisible(showsSpinner());
    update();
}

void NotchCameraControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds(rect());
    paintDisc(painter, bounds, fillColor(), strokeColor(), strokeWidth());
    if (!showsSpinner()) {
        NotchSymbols::paint(painter, bounds.center(), 12, symbol(), symbolColor());
    }
}

bool NotchCameraControl::hitButton(const QPoint& pos) const {
    const QPointF d = QPointF(pos) - QRectF(rect()).center();
    return d.x() * d.x() + d.y() * d.y() <= (side / 2.0) * (side / 2.0);
}

} // namespace plimbo
