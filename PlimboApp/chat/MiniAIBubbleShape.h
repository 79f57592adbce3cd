#pragma once

#include <QPainterPath>
#include <QRectF>

namespace plimbo {

// The outline of the mini assistant's body: the rectangle it is given, inset by half a pixel on
// every side, with corners of radius 22. The same for every state of the panel.
class MiniAIBubbleShape {
public:
    MiniAIBubbleShape() = delete;

    static constexpr qreal cornerRadius = 22;
    static QRectF outlineRect(const QRectF& rect);
    static QPainterPath path(const QRectF& rect);
};

} // namespace plimbo
