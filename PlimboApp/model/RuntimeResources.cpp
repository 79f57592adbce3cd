#include "RuntimeResources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace plimbo {

std::optional<QString> RuntimeResources::directory(const QString& programDirectory) {
    const QDir program(programDirectory);
    for (const QString& relative :
         {QStringLiteral("resources"), QStringLiteral("../share/plimbo")}) {
        const QDir candidate(QDir::cleanPath(program.absoluteFilePath(relative)));
        if (QFileInfo(candidate.filePath(iconFileName)).isFile()) {
            return candidate.path();
        }
    }
    return std::nullopt;
}

std::optional<QString> RuntimeResources::directory() {
    return directory(QCoreApplication::applicationDirPath());
}

QString RuntimeResources::iconFile(const QString& programDirectory) {
    const std::optional<QString> folder = directory(programDirectory);
    return folder ? QDir(*folder).filePath(iconFileName) : QString();
}

} // namespace plimbo
