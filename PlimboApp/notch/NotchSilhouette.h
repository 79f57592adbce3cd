#pragma once

#include <QPainterPath>
#include <QRectF>

namespace plimbo {

// The notch's outline: a rectangle whose top edge runs along the screen's top and whose two
// lower corners are rounded, 24 when expanded and 15 when compact.
class NotchSilhouette {
public:
    static constexpr qreal expandedRadius = 24;
    static constexpr qreal compactRadius = 15;

    explicit NotchSilhouette(bool expanded)
        : m_expanded(expanded) {}

    bool expanded() const { return m_expanded; }
    qreal radius() const { return m_expanded ? expandedRadius : compactRadius; }
    QPainterPath path(const QRectF& rect) const;

private:
    bool m_expanded;
};

} // namespace plimbo
