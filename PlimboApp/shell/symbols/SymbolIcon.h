#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>

class QPainter;

namespace plimbo {

// The icons behind the symbol names the views use ("plus", "doc.on.doc", "square.and.pencil",
// ...), shipped with the application so they draw the same everywhere, offscreen included.
// Each is a single-colour drawing tinted on use; a name without an icon draws a neutral
// placeholder. A view subsystem may ship more drawings: any ":/symbols/<name>.svg" resource is
// found by its name. Main thread only (renderers and pixmaps are cached).
class SymbolIcon {
public:
    SymbolIcon() = delete;

    static bool contains(const QString& name);
    static QStringList names();

    // Drawn in `color` at any size it is asked for; the disabled form is fainter.
    static QIcon icon(const QString& name, const QColor& color);
    static QPixmap pixmap(const QString& name, const QSize& size, const QColor& color,
                          qreal devicePixelRatio = 1.0);
    // Exactly `pixelSize` pixels, the drawing centred and kept square.
    static QImage image(const QString& name, const QSize& pixelSize, const QColor& color);
    // Draws into `rect` at the painter's device pixel ratio.
    static void paint(QPainter& painter, const QRectF& rect, const QString& name,
                      const QColor& color);
};

} // namespace plimbo
