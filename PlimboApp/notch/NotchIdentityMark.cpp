#include "NotchIdentityMark.h"

#include "ChatStyle.h"
#include "NotchSurfaceState.h"
#include "NotchSurfaceView.h"
#include "NotchSymbols.h"
#include "PlimboMenuBarIcon.h"
#include "PlimboTheme.h"

#include <QFontMetricsF>
#include <QPainter>

namespace plimbo {

namespace {

const QString kName = QStringLiteral("Plimbo");
constexpr qreal kDot = 6;
constexpr qreal kChevronPoints = 7;

} // namespace

NotchIdentityMark::Metrics NotchIdentityMark::metrics(bool hasHardwareNotch) {
    if (hasHardwareNotch) {
        return {6, 11, 9, 4};
    }
    return {9, 17, 12, 9};
}

NotchIdentityMark::NotchIdentityMark(NotchSurfaceView& surface, QWidget* parent)
    : QWidget(parent)
    , m_surface(surface) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(&surface.state(), &NotchSurfaceState::hasHardwareNotchChanged, this,
            qOverload<>(&QWidget::update));
    connect(&surface, &NotchSurfaceView::capHoveredChanged, this, qOverload<>(&QWidget::update));
}

NotchIdentityMark::Row NotchIdentityMark::row() const {
    const bool hardware = m_surface.state().hasHardwareNotch();
    const Metrics m = metrics(hardware);
    const QFontMetricsF fm(ChatStyle::font(m.namePointSize, QFont::DemiBold));
    const qreal nameWidth = fm.horizontalAdvance(kName);
    const qreal trailingSide = hardware ? NotchSymbols::side(kChevronPoints) : kDot;
    const qreal rowHeight = std::max({m.iconSide, fm.height(), trailingSide});
    const qreal total = m.iconSide + m.spacing + nameWidth + m.spacing + trailingSide;
    const qreal left = (width() - total) / 2;
    const qreal middle = height() - m.bottomPadding - rowHeight / 2;
    Row result;
    result.icon = QRectF(left, middle - m.iconSide / 2, m.iconSide, m.iconSide);
    result.name =
        QRectF(result.icon.right() + m.spacing, middle - fm.height() / 2, nameWidth, fm.height());
    result.trailing = QRectF(result.name.right() + m.spacing, middle - trailingSide / 2,
                             trailingSide, trailingSide);
    return result;
}

QRectF NotchIdentityMark::iconRect() const {
    return row().icon;
}

QColor NotchIdentityMark::iconColor() const {
    return m_surface.isCapHovered() ? PlimboTheme::accent() : QColor(Qt::white);
}

void NotchIdentityMark::paintEvent(QPaintEvent*) {
    const bool hardware = m_surface.state().hasHardwareNotch();
    const Metrics m = metrics(hardware);
    const Row r = row();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    PlimboMenuBarIcon::paint(painter, r.icon, iconColor(), true);
    painter.setFont(ChatStyle::font(m.namePointSize, QFont::DemiBold));
    painter.setPen(Qt::white);
    painter.drawText(r.name, Qt::AlignCenter, kName);
    if (hardware) {
        NotchSymbols::paint(painter, r.trailing.center(), kChevronPoints,
                            QStringLiteral("chevron.down"), Qt::white);
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(PlimboTheme::positive());
        painter.drawEllipse(r.trailing);
    }
}

} // namespace plimbo
