#include "MiniAIBubbleShape.h"

namespace plimbo {

QRectF MiniAIBubbleShape::outlineRect(const QRectF& rect) {
    return rect.adjusted(0.5, 0.5, -0.5, -0.5);
}

QPainterPath MiniAIBubbleShape::path(const QRectF& rect) {
    QPainterPath path;
    path.addRoundedRect(outlineRect(rect), cornerRadius, cornerRadius);
    return path;
}

} // namespace plimbo
