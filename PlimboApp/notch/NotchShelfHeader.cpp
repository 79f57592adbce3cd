#include "NotchShelfHeader.h"

#include "ChatStyle.h"
#include "NotchCameraControl.h"
#include "NotchCircleButton.h"
#include "NotchSurfaceState.h"
#include "NotchSurfaceView.h"
#include "PlimboMenuBarIcon.h"
#include "PlimboTheme.h"
#include "SystemMonitorService.h"

#include <QFontMetricsF>
#include <QPainter>

namespace plimbo {

namespace {

constexpr qreal kSpacing = 10;
constexpr int kCollapseSide = 28;

QFont pillFont() {
    return ChatStyle::font(ChatStyle::pixelSize(ChatStyle::TextStyle::caption2), QFont::DemiBold);
}

} // namespace

NotchShelfHeader::NotchShelfHeader(NotchSurfaceView& surface, QWidget* parent)
    : QWidget(parent)
    , m_surface(surface)
    , m_camera(new NotchCameraControl(surface, this)) {
    setFixedHeight(height);
    m_collapse = new NotchCircleButton(
        kCollapseSide,
        [](const NotchCircleButton& button) {
            NotchCircleButton::Look look;
            look.symbol = QStringLiteral("chevron.up");
            look.symbolPointSize = ChatStyle::pixelSize(ChatStyle::TextStyle::caption);
            look.symbolColor = Qt::white;
            look.fill = ChatStyle::white(0.08);
            look.stroke = button.isFocused() ? PlimboTheme::accent() : QColor(Qt::transparent);
            look.strokeWidth = 2;
            return look;
        },
        this);
    m_collapse->setTitle(QStringLiteral("Collapse Plimbo Notch"));
    m_collapse->setToolTip(QString());
    connect(m_collapse, &QAbstractButton::clicked, this, [this] { m_surface.onCollapse(); });
    connect(&surface.state(), &NotchSurfaceState::hasHardwareNotchChanged, this,
            qOverload<>(&QWidget::update));
    connect(&surface.features().systemMonitor, &SystemMonitorService::isRunningChanged, this,
            [this] {
                layoutChildren();
                update();
            });
}

QString NotchShelfHeader::subtitle() const {
    return m_surface.state().hasHardwareNotch() ? QStringLiteral("Attached to this MacBook")
                                                : QStringLiteral("Virtual camera housing");
}

QString NotchShelfHeader::monitorStatus() const {
    return m_surface.features().systemMonitor.isRunning() ? QStringLiteral("Live")
                                                          : QStringLiteral("Dormant");
}

QRectF NotchShelfHeader::pillRect() const {
    const QFontMetricsF metrics(pillFont());
    const qreal w = 9 + 6 + 6 + metrics.horizontalAdvance(monitorStatus()) + 9;
    const qreal h = 6 + metrics.height() + 6;
    const qreal right = width() - kCollapseSide - kSpacing;
    return {right - w, (height - h) / 2, w, h};
}

void NotchShelfHeader::layoutChildren() {
    m_collapse->move(width() - kCollapseSide, (height - kCollapseSide) / 2);
    const QRectF pill = pillRect();
    m_camera->move(qRound(pill.left() - kSpacing - NotchCameraControl::side), 0);
}

void NotchShelfHeader::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChildren();
}

void NotchShelfHeader::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor accent = PlimboTheme::accent();

    const QRectF tile(0, 0, 46, 46);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ChatStyle::withOpacity(accent, 0.22));
    painter.drawRoundedRect(tile, 10, 10);
    PlimboMenuBarIcon::paint(
        painter, QRectF(tile.center().x() - 10.5, tile.center().y() - 10.5, 21, 21), accent, true);

    const QFont titleFont = ChatStyle::font(16, QFont::DemiBold);
    const QFont subtitleFont = ChatStyle::font(ChatStyle::TextStyle::caption2);
    const QFontMetricsF titleMetrics(titleFont);
    const QFontMetricsF subtitleMetrics(subtitleFont);
    const qreal left = tile.right() + kSpacing;
    const qreal textWidth = std::max<qreal>(0, m_camera->x() - kSpacing - left);
    const qreal block = titleMetrics.height() + 1 + subtitleMetrics.height();
    const qreal top = (height - block) / 2;
    painter.setFont(titleFont);
    painter.setPen(Qt::white);
    painter.drawText(
        QRectF(left, top, textWidth, titleMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
        titleMetrics.elidedText(QStringLiteral("Plimbo Notch"), Qt::ElideRight, textWidth));
    painter.setFont(subtitleFont);
    painter.setPen(ChatStyle::white(0.62));
    painter.drawText(
        QRectF(left, top + titleMetrics.height() + 1, textWidth, subtitleMetrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter,
        subtitleMetrics.elidedText(subtitle(), Qt::ElideRight, textWidth));

    const QRectF pill = pillRect();
    painter.setPen(Qt::NoPen);
    painter.setBrush(ChatStyle::white(0.08));
    painter.drawRoundedRect(pill, pill.height() / 2, pill.height() / 2);
    const bool running = m_surface.features().systemMonitor.isRunning();
    painter.setBrush(running ? PlimboTheme::positive() : ChatStyle::white(0.35));
    painter.drawEllipse(QRectF(pill.left() + 9, pill.center().y() - 3, 6, 6));
    painter.setFont(pillFont());
    painter.setPen(Qt::white);
    painter.drawText(QRectF(pill.left() + 9 + 6 + 6, pill.top(), pill.width() - 21, pill.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, monitorStatus());
}

} // namespace plimbo
