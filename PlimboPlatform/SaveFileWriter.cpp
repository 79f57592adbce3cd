#include "SaveFileWriter.h"

#include "FileWriteError.h"

#include <QSaveFile>

namespace plimbo {

void SaveFileWriter::write(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw FileWriteError(path, file.errorString());
    }
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw FileWriteError(path, reason);
    }
    // commit() syncs the temporary file and renames it; on failure the target is untouched.
    if (!file.commit()) {
        throw FileWriteError(path, file.errorString());
    }
}

} // namespace plimbo
