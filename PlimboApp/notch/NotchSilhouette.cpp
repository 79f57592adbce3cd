#include "NotchSilhouette.h"

#include <algorithm>

namespace plimbo {

QPainterPath NotchSilhouette::path(const QRectF& rect) const {
    QPainterPath path;
    if (rect.isEmpty()) {
        return path;
    }
    const qreal r = std::min({radius(), rect.width() / 2, rect.height()});
    path.moveTo(rect.topLeft());
    path.lineTo(rect.topRight());
    path.lineTo(rect.right(), rect.bottom() - r);
    path.arcTo(QRectF(rect.right() - 2 * r, rect.bottom() - 2 * r, 2 * r, 2 * r), 0, -90);
    path.lineTo(rect.left() + r, rect.bottom());
    path.arcTo(QRectF(rect.left(), rect.bottom() - 2 * r, 2 * r, 2 * r), 270, -90);
    path.closeSubpath();
    return path;
}

} // namespace plimbo
