#pragma once

#include "SurfaceStyle.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <optional>

namespace plimbo {

// One symbol icon drawn centred in the widget at a given side, in a tone of the palette or a
// fixed colour.
class SymbolView : public QWidget {
    Q_OBJECT

public:
    SymbolView(const QString& symbol, qreal side, QWidget* parent = nullptr);

    QString symbol() const { return m_symbol; }
    void setSymbol(const QString& symbol);
    void setTone(SurfaceStyle::Tone tone);
    void setColor(const std::optional<QColor>& color);
    QColor resolvedColor() const;
    // A rounded tile behind the symbol: `base` (the palette's text colour when none) at
    // `opacity`.
    void setBackdrop(qreal opacity, qreal radius, const std::optional<QColor>& base = std::nullopt);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    qreal m_side;
    SurfaceStyle::Tone m_tone = SurfaceStyle::Tone::primary;
    std::optional<QColor> m_color;
    qreal m_backdropOpacity = 0;
    qreal m_backdropRadius = 0;
    std::optional<QColor> m_backdropBase;
};

} // namespace plimbo
