#include "FileShelf.h"

#include <QDir>
#include <QSet>

namespace plimbo {

QUrl FileShelf::standardized(const QUrl& file) {
    if (!file.isLocalFile()) {
        return file;
    }
    return QUrl::fromLocalFile(QDir::cleanPath(file.toLocalFile()));
}

QList<QUrl> FileShelf::receive(const QList<QUrl>& shelf, const QList<QUrl>& dropped) {
    QSet<QUrl> present;
    for (const QUrl& entry : shelf) {
        present.insert(standardized(entry));
    }
    QList<QUrl> result = shelf;
    for (const QUrl& url : dropped) {
        // "file:" with no path names no file.
        if (!url.isLocalFile() || url.toLocalFile().isEmpty()) {
            continue;
        }
        const QUrl file = standardized(url);
        if (present.contains(file)) {
            continue;
        }
        present.insert(file);
        result.append(file);
    }
    if (result.size() > capacity) {
        result.resize(capacity);
    }
    return result;
}

QList<QUrl> FileShelf::remove(const QList<QUrl>& shelf, const QUrl& file) {
    const QUrl target = standardized(file);
    QList<QUrl> result = shelf;
    result.removeIf([&target](const QUrl& entry) { return standardized(entry) == target; });
    return result;
}

} // namespace plimbo
