#include "PaletteRow.h"

#include "SurfaceStyle.h"
#include "SurfaceText.h"
#include "SymbolView.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace plimbo {

QString PaletteRow::badge(PaletteItemKind kind) {
    switch (kind) {
    case PaletteItemKind::application:
        return QStringLiteral("APP");
    case PaletteItemKind::command:
        return QStringLiteral("ACTION");
    case PaletteItemKind::clipboard:
        return QStringLiteral("CLIP");
    case PaletteItemKind::ai:
        return QStringLiteral("AI");
    }
    return QString();
}

PaletteRow::PaletteRow(const PaletteItem& item, QWidget* parent)
    : SelectableRow(item.id, parent)
    , m_icon(new SymbolView(item.symbol, 17, this))
    , m_title(new SurfaceText(item.title, this))
    , m_subtitle(new SurfaceText(item.subtitle, this))
    , m_badge(new SurfaceText(badge(item.kind), this)) {
    m_icon->setFixedSize(28, 28);
    m_icon->setTone(item.kind == PaletteItemKind::ai ? SurfaceStyle::Tone::accent
                                                     : SurfaceStyle::Tone::primary);
    m_title->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::body));
    m_subtitle->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::caption));
    m_subtitle->setTone(SurfaceStyle::Tone::secondary);
    m_badge->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::caption2, QFont::Medium));
    m_badge->setTone(SurfaceStyle::Tone::tertiary);
    m_badge->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(m_title);
    texts->addWidget(m_subtitle);

    auto* label = new QHBoxLayout(this);
    label->setContentsMargins(8, 4, 10, 4);
    label->setSpacing(13);
    label->addWidget(m_icon, 0, Qt::AlignVCenter);
    label->addLayout(texts, 1);
    label->addSpacing(8);
    label->addWidget(m_badge, 0, Qt::AlignVCenter);

    setAccessibleName(item.title);
    setAccessibleDescription(item.subtitle);
}

} // namespace plimbo
