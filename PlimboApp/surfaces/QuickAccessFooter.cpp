#include "QuickAccessFooter.h"

#include "HairlineDivider.h"
#include "SurfaceStyle.h"
#include "SurfaceText.h"

#include <QHBoxLayout>
#include <QPainter>

namespace plimbo {

QuickAccessFooter::QuickAccessFooter(const QString& openLabel, const QString& shortcut,
                                     QWidget* parent)
    : QWidget(parent) {
    setFixedHeight(stripHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    const QFont caption = SurfaceStyle::font(SurfaceStyle::TextStyle::caption);

    m_navigate = new SurfaceText(tr("↑↓ Navigate"), this);
    m_open = new SurfaceText(tr("↩ %1").arg(openLabel), this);
    m_shortcut = new SurfaceText(shortcut, this);
    for (SurfaceText* text : {m_navigate, m_open}) {
        text->setFont(caption);
        text->setTone(SurfaceStyle::Tone::secondary);
        text->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    m_shortcut->setFont(SurfaceStyle::monospace(SurfaceStyle::TextStyle::caption));
    m_shortcut->setTone(SurfaceStyle::Tone::secondary);
    m_shortcut->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(18, 0, 18, 0);
    row->setSpacing(14);
    row->addWidget(m_navigate, 0, Qt::AlignVCenter);
    row->addWidget(m_open, 0, Qt::AlignVCenter);
    row->addStretch(1);
    row->addWidget(m_shortcut, 0, Qt::AlignVCenter);
}

void QuickAccessFooter::setShortcut(const QString& shortcut) {
    m_shortcut->setText(shortcut);
}

void QuickAccessFooter::paintEvent(QPaintEvent*) {
    // The hairline lies over the strip's top edge.
    QPainter painter(this);
    painter.fillRect(QRect(0, 0, width(), 1), HairlineDivider::lineColor(palette()));
}

} // namespace plimbo
