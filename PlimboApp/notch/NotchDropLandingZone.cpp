#include "NotchDropLandingZone.h"

#include "ChatStyle.h"
#include "NotchSymbols.h"
#include "PlimboTheme.h"

#include <QFontMetricsF>
#include <QPainter>

namespace plimbo {

namespace {

constexpr qreal kBadge = 58;
constexpr qreal kSpacing = 12;
constexpr qreal kTextMargin = 24;

} // namespace

NotchDropLandingZone::NotchDropLandingZone(QWidget* parent)
    : QWidget(parent) {
    setAccessibleName(title);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void NotchDropLandingZone::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor accent = PlimboTheme::accent();
    const QRectF box = QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ChatStyle::withOpacity(accent, 0.07));
    painter.drawRoundedRect(box, 19, 19);
    QPen dashed(ChatStyle::withOpacity(accent, 0.72), 1.5, Qt::CustomDashLine, Qt::FlatCap,
                Qt::MiterJoin);
    // Dash lengths are in pen widths.
    dashed.setDashPattern({7 / 1.5, 6 / 1.5});
    dashed.setMiterLimit(10);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(dashed);
    painter.drawRoundedRect(box, 19, 19);

    const QFont titleFont = ChatStyle::font(18, QFont::DemiBold);
    const QFont messageFont = ChatStyle::font(11, QFont::Medium);
    const QFontMetricsF titleMetrics(titleFont);
    const qreal textWidth = width() - 2 * kTextMargin;
    const QRectF messageBounds = QFontMetricsF(messageFont)
                                     .boundingRect(QRectF(0, 0, textWidth, 1000),
                                                   Qt::AlignHCenter | Qt::TextWordWrap, message);
    const qreal total =
        kBadge + kSpacing + titleMetrics.height() + kSpacing + messageBounds.height();
    qreal y = (height() - total) / 2;

    const QRectF badge((width() - kBadge) / 2, y, kBadge, kBadge);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ChatStyle::withOpacity(accent, 0.18));
    painter.drawEllipse(badge);
    NotchSymbols::paint(painter, badge.center(), 25, QStringLiteral("arrow.down.doc.fill"), accent);
    y += kBadge + kSpacing;

    painter.setFont(titleFont);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(kTextMargin, y, textWidth, titleMetrics.height()), Qt::AlignCenter,
                     titleMetrics.elidedText(title, Qt::ElideRight, textWidth));
    y += titleMetrics.height() + kSpacing;

    painter.setFont(messageFont);
    painter.setPen(ChatStyle::white(0.56));
    painter.drawText(QRectF(kTextMargin, y, textWidth, messageBounds.height()),
                     Qt::AlignHCenter | Qt::TextWordWrap, message);
}

} // namespace plimbo
