#pragma once

#include <QColor>
#include <QFont>

namespace plimbo {

// What the styles of the chat views, the command surfaces and the dashboard share: the desktop
// type scale the design was made with (sizes in pixels, one per point of the design) and colour
// arithmetic. Each style derives from it and adds its own colours and parts.
class DesignStyle {
public:
    DesignStyle() = delete;

    enum class TextStyle { body, callout, caption, caption2, headline, title3 };

    static qreal pixelSize(TextStyle style);
    // The application font at `pixels`, with `weight`.
    static QFont font(qreal pixels, QFont::Weight weight = QFont::Normal);
    // A headline is semibold unless a weight is asked for.
    static QFont font(TextStyle style, QFont::Weight weight = QFont::Normal);
    static QFont monospace(qreal pixels);
    static QFont monospace(TextStyle style);

    // `color` with its opacity multiplied by `opacity`.
    static QColor withOpacity(QColor color, qreal opacity);
};

} // namespace plimbo
