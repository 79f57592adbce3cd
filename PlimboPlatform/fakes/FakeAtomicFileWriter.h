#pragma once

#include "AtomicFileWriter.h"

#include <QStringList>

#include <mutex>
#include <optional>

namespace plimbo {

// Writes straight to disk (not atomically) and remembers every path it wrote. Tests can make
// it fail, leaving the target untouched, as a full disk would.
class FakeAtomicFileWriter : public AtomicFileWriter {
public:
    void write(const QString& path, const QByteArray& bytes) override;

    // Every following write throws FileWriteError with this reason (nullopt: writes work).
    void setFailure(std::optional<QString> reason);
    QStringList writtenPaths() const;

private:
    mutable std::mutex m_mutex;
    std::optional<QString> m_failure;
    QStringList m_written;
};

} // namespace plimbo
