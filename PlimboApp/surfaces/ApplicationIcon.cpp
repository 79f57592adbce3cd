#include "ApplicationIcon.h"

#include "ApplicationRecord.h"
#include "symbols/SymbolIcon.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace plimbo {

namespace {

QIcon lookUp(const QString& icon) {
    if (icon.isEmpty()) {
        return QIcon();
    }
    if (QDir::isAbsolutePath(icon)) {
        return QFileInfo(icon).isFile() ? QIcon(icon) : QIcon();
    }
    QIcon themed = QIcon::fromTheme(icon);
    if (!themed.isNull()) {
        return themed;
    }
    // Entries that name a picture in the shared pixmaps folder.
    for (const char* suffix : {".png", ".svg", ".xpm"}) {
        const QString path = QStringLiteral("/usr/share/pixmaps/") + icon + QLatin1String(suffix);
        if (QFileInfo(path).isFile()) {
            return QIcon(path);
        }
    }
    return QIcon();
}

} // namespace

QIcon ApplicationIcon::forRecord(const ApplicationRecord& record, const QColor& fallbackColor) {
    static QHash<QString, QIcon> cache;
    auto found = cache.find(record.icon);
    if (found == cache.end()) {
        found = cache.insert(record.icon, lookUp(record.icon));
    }
    if (!found->isNull()) {
        return *found;
    }
    return SymbolIcon::icon(QStringLiteral("app"), fallbackColor);
}

} // namespace plimbo
