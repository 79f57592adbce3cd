#pragma once

#include <QList>
#include <QUrl>

namespace plimbo {

// The notch's shelf of dropped files: local files only, each once, at most 24, in the order
// they arrived. The files stay where they are; the shelf only lists them.
class FileShelf {
public:
    static constexpr qsizetype capacity = 24;

    // The file's URL with "." and ".." steps and doubled or trailing slashes removed; how
    // the shelf compares files.
    static QUrl standardized(const QUrl& file);
    // The shelf after a drop: the local files of the drop that are not on it yet (each
    // standardized, repeats within the drop dropped) appended in order, then cut to capacity,
    // so files already on the shelf win over new ones.
    static QList<QUrl> receive(const QList<QUrl>& shelf, const QList<QUrl>& dropped);
    // The shelf without every entry that names the same file; the others keep their order.
    static QList<QUrl> remove(const QList<QUrl>& shelf, const QUrl& file);
};

} // namespace plimbo
