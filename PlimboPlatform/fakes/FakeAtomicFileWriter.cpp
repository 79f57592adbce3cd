#include "FakeAtomicFileWriter.h"

#include "FileWriteError.h"

#include <QFile>

namespace plimbo {

void FakeAtomicFileWriter::write(const QString& path, const QByteArray& bytes) {
    std::lock_guard lock(m_mutex);
    if (m_failure) {
        throw FileWriteError(path, *m_failure);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        throw FileWriteError(path, file.errorString());
    }
    m_written.append(path);
}

void FakeAtomicFileWriter::setFailure(std::optional<QString> reason) {
    std::lock_guard lock(m_mutex);
    m_failure = std::move(reason);
}

QStringList FakeAtomicFileWriter::writtenPaths() const {
    std::lock_guard lock(m_mutex);
    return m_written;
}

} // namespace plimbo
