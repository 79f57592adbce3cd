#include "SymbolIcon.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

#include <algorithm>
#include <memory>

// Resources of a static library are registered by hand.
static void initialiseSymbolResources() {
    Q_INIT_RESOURCE(symbols);
}

namespace plimbo {

namespace {

const QString kFallback = QStringLiteral("symbol.fallback");
const QString kPrefix = QStringLiteral(":/symbols/");

QString resourcePath(const QString& name) {
    static bool initialised = false;
    if (!initialised) {
        initialiseSymbolResources();
        initialised = true;
    }
    return kPrefix + name + QStringLiteral(".svg");
}

// The drawing a name stands for: its own, or the placeholder.
QString resolved(const QString& name) {
    return SymbolIcon::contains(name) ? name : kFallback;
}

QSvgRenderer& renderer(const QString& key) {
    static QHash<QString, std::shared_ptr<QSvgRenderer>> renderers;
    auto found = renderers.find(key);
    if (found == renderers.end()) {
        found = renderers.insert(key, std::make_shared<QSvgRenderer>(resourcePath(key)));
    }
    return *found.value();
}

class SymbolIconEngine : public QIconEngine {
public:
    SymbolIconEngine(QString name, QColor color)
        : m_name(std::move(name))
        , m_color(std::move(color)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        SymbolIcon::paint(*painter, rect, m_name, colorFor(mode));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        return SymbolIcon::pixmap(m_name, size, colorFor(mode));
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
        return SymbolIcon::pixmap(m_name, size, colorFor(mode), scale);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new SymbolIconEngine(m_name, m_color); }
    QString key() const override { return QStringLiteral("plimbo-symbol"); }
    QString iconName() override { return m_name; }

private:
    QColor colorFor(QIcon::Mode mode) const {
        if (mode != QIcon::Disabled) {
            return m_color;
        }
        QColor faint = m_color;
        faint.setAlphaF(m_color.alphaF() * 0.35f);
        return faint;
    }

    QString m_name;
    QColor m_color;
};

} // namespace

bool SymbolIcon::contains(const QString& name) {
    return !name.isEmpty() && QFile::exists(resourcePath(name));
}

QStringList SymbolIcon::names() {
    resourcePath(kFallback);
    QStringList names;
    for (const QString& file : QDir(kPrefix).entryList({QStringLiteral("*.svg")}, QDir::Files)) {
        const QString name = file.chopped(4);
        if (name != kFallback) {
            names.append(name);
        }
    }
    return names;
}

QIcon SymbolIcon::icon(const QString& name, const QColor& color) {
    return QIcon(new SymbolIconEngine(name, color));
}

QImage SymbolIcon::image(const QString& name, const QSize& pixelSize, const QColor& color) {
    QImage image(pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (pixelSize.isEmpty()) {
        return image;
    }
    {
        const qreal side = std::min(pixelSize.width(), pixelSize.height());
        const QRectF square((pixelSize.width() - side) / 2, (pixelSize.height() - side) / 2, side,
                            side);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer(resolved(name)).render(&painter, square);
    }
    // Black is ink and white is a hole: the darker a pixel, the more of the colour it takes.
    const QRgb tint = color.rgba();
    const int tintAlpha = qAlpha(tint);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            const int alpha = qAlpha(pixel);
            if (alpha == 0) {
                continue;
            }
            const int light = (qRed(pixel) + qGreen(pixel) + qBlue(pixel)) / 3;
            const int ink = std::max(0, alpha - light) * tintAlpha / 255;
            line[x] = qPremultiply(qRgba(qRed(tint), qGreen(tint), qBlue(tint), ink));
        }
    }
    return image;
}

QPixmap SymbolIcon::pixmap(const QString& name, const QSize& size, const QColor& color,
                           qreal devicePixelRatio) {
    const QSize pixels = (QSizeF(size) * devicePixelRatio).toSize();
    const QString key = QStringLiteral("plimbo-symbol:%1:%2x%3:%4")
                            .arg(resolved(name))
                            .arg(pixels.width())
                            .arg(pixels.height())
                            .arg(color.rgba(), 8, 16, QLatin1Char('0'));
    QPixmap cached;
    if (!QPixmapCache::find(key, &cached)) {
        cached = QPixmap::fromImage(image(name, pixels, color));
        QPixmapCache::insert(key, cached);
    }
    cached.setDevicePixelRatio(devicePixelRatio);
    return cached;
}

void SymbolIcon::paint(QPainter& painter, const QRectF& rect, const QString& name,
                       const QColor& color) {
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QSize size = rect.size().toSize();
    if (size.isEmpty()) {
        return;
    }
    const QPixmap drawn = pixmap(name, size, color, ratio);
    painter.drawPixmap(QPointF(rect.x() + (rect.width() - size.width()) / 2.0,
                               rect.y() + (rect.height() - size.height()) / 2.0),
                       drawn);
}

} // namespace plimbo
