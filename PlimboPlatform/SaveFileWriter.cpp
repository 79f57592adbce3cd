#include "SaveFileWriter.h"

#include "FileWriteError.h"

#include <QSaveFile>

namespace plimbo {

void SaveFileWriter::write(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw FileWriteError(path, file.errorString());
    }
    // Owner only, before a byte is written, whatever the folder's mode, the umask or the mode
    // of the file being replaced: what is saved here is the user's own data.
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw FileWriteError(path, reason);
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
