#include "SettingsSwitch.h"

#include <QPainter>
#include <QPainterPath>

namespace plimbo {

SettingsSwitch::SettingsSwitch(QWidget* parent)
    : QAbstractButton(parent) {
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::clicked, this, [this] { emit switchRequested(!isChecked()); });
}

void SettingsSwitch::setOn(bool on) {
    if (isChecked() != on) {
        const QSignalBlocker blocker(this);
        setChecked(on);
    }
    update();
}

QSize SettingsSwitch::sizeHint() const {
    return trackSize;
}

void SettingsSwitch::nextCheckState() {
    // A click only asks (switchRequested); the owner decides by calling setOn.
}

void SettingsSwitch::checkStateSet() {
    update();
}

void SettingsSwitch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF track =
        QRectF(QPointF(0, 0), QSizeF(trackSize))
            .translated((width() - trackSize.width()) / 2.0, (height() - trackSize.height()) / 2.0);
    QColor fill = isChecked() ? palette().color(QPalette::Active, QPalette::Highlight)
                              : palette().color(QPalette::WindowText);
    if (!isChecked()) {
        fill.setAlphaF(0.18f);
    }
    if (!isEnabled()) {
        fill.setAlphaF(fill.alphaF() * 0.45f);
    }
    if (hasFocus()) {
        QColor ring = palette().color(QPalette::Active, QPalette::Highlight);
        painter.setPen(QPen(ring, 2));
        painter.setBrush(Qt::NoBrush);
        const QRectF outer = track.adjusted(-1.5, -1.5, 1.5, 1.5);
        painter.drawRoundedRect(outer, outer.height() / 2, outer.height() / 2);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(track, track.height() / 2, track.height() / 2);

    const qreal inset = 2;
    const qreal knob = track.height() - 2 * inset;
    const qreal x = isChecked() ? track.right() - inset - knob : track.left() + inset;
    QColor knobColor(Qt::white);
    if (!isEnabled()) {
        knobColor.setAlphaF(0.8f);
    }
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawEllipse(QRectF(x, track.top() + inset + 0.6, knob, knob));
    painter.setBrush(knobColor);
    painter.drawEllipse(QRectF(x, track.top() + inset, knob, knob));
}

} // namespace plimbo
