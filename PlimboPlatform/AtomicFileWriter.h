#pragma once

#include <QByteArray>
#include <QString>

namespace plimbo {

// Replaces whole files so that a reader sees either the old or the new complete contents,
// never a mixture, even across a crash.
class AtomicFileWriter {
public:
    virtual ~AtomicFileWriter() = default;

    // Writes bytes to path, replacing any file there. The folder must exist. Throws
    // FileWriteError; the file that was there is then left as it was.
    virtual void write(const QString& path, const QByteArray& bytes) = 0;
};

} // namespace plimbo
