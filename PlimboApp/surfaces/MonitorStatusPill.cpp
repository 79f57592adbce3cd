#include "MonitorStatusPill.h"

#include "SurfaceStyle.h"

#include <QFontMetrics>
#include <QPainter>

namespace plimbo {

namespace {

constexpr int kDot = 7;
constexpr int kSpacing = 6;
constexpr int kHorizontalPadding = 9;
constexpr int kVerticalPadding = 5;

} // namespace

MonitorStatusPill::MonitorStatusPill(QWidget* parent)
    : QWidget(parent) {
    setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::caption, QFont::DemiBold));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void MonitorStatusPill::setStatus(const QString& word, const QColor& color) {
    // Each sample sets the status again; an unchanged one costs no layout or paint.
    if (m_word == word && m_color == color) {
        return;
    }
    m_word = word;
    m_color = color;
    setAccessibleName(tr("System monitor %1").arg(word.toLower()));
    updateGeometry();
    update();
}

QSize MonitorStatusPill::sizeHint() const {
    const QFontMetrics metrics(font());
    return QSize(kHorizontalPadding * 2 + kDot + kSpacing + metrics.horizontalAdvance(m_word),
                 kVerticalPadding * 2 + std::max(kDot, metrics.height()));
}

void MonitorStatusPill::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF capsule(rect());
    painter.setPen(Qt::NoPen);
    painter.setBrush(SurfaceStyle::withOpacity(m_color, 0.12));
    painter.drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
    painter.setBrush(m_color);
    painter.drawEllipse(QRectF(kHorizontalPadding, (height() - kDot) / 2.0, kDot, kDot));
    painter.setPen(m_color);
    painter.setFont(font());
    const int textLeft = kHorizontalPadding + kDot + kSpacing;
    painter.drawText(QRect(textLeft, 0, width() - textLeft, height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_word);
}

} // namespace plimbo
