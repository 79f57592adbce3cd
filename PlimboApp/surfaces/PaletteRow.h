#pragma once

#include "PaletteItem.h"
#include "SelectableRow.h"

namespace plimbo {

class SurfaceText;
class SymbolView;

// One command-palette entry: its symbol, title, subtitle and kind badge.
class PaletteRow : public SelectableRow {
    Q_OBJECT

public:
    explicit PaletteRow(const PaletteItem& item, QWidget* parent = nullptr);

    // "APP", "ACTION", "CLIP" or "AI"; shown as is, never translated.
    static QString badge(PaletteItemKind kind);

    SymbolView* icon() const { return m_icon; }
    SurfaceText* title() const { return m_title; }
    SurfaceText* subtitle() const { return m_subtitle; }
    SurfaceText* kindBadge() const { return m_badge; }

private:
    SymbolView* m_icon;
    SurfaceText* m_title;
    SurfaceText* m_subtitle;
    SurfaceText* m_badge;
};

} // namespace plimbo
