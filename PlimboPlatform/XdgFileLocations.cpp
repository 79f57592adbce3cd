#include "XdgFileLocations.h"

#include <QDir>
#include <QStandardPaths>

namespace plimbo {

std::optional<QString> XdgFileLocations::applicationSupportDirectory() const {
    // GenericDataLocation is the data home itself, without an application folder appended.
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return QDir::cleanPath(path);
}

QString XdgFileLocations::temporaryDirectory() const {
    return QDir::cleanPath(QDir::tempPath());
}

} // namespace plimbo
