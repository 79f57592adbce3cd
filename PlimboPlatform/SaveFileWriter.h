#pragma once

#include "AtomicFileWriter.h"

namespace plimbo {

// Writes to a temporary file beside the target, flushes it to disk and renames it over the
// target (QSaveFile). The file is readable and writable by its owner only (0600). Stateless, so one instance may be used from any thread.
class SaveFileWriter : public AtomicFileWriter {
public:
    void write(const QString& path, const QByteArray& bytes) override;
};

} // namespace plimbo
