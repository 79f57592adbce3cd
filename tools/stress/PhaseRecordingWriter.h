#pragma once

#include "AtomicFileWriter.h"

#include <QByteArray>

#include <memory>

namespace plimbo {

// Hands every write to another writer and records, in a small status file, what the save loop
// is doing: "encoding", "writing" or "written", the generation, the number of completed saves
// and how many milliseconds the last write took (so the script can aim its kill inside one). Each
// record is one pwrite() of a fixed-size line, so it is in the page cache the moment it returns and
// a SIGKILL never leaves it half updated for the script that reads it.
class PhaseRecordingWriter : public AtomicFileWriter {
public:
    // Throws std::runtime_error when the status file cannot be opened.
    PhaseRecordingWriter(std::shared_ptr<AtomicFileWriter> inner, const QByteArray& statusPath);
    ~PhaseRecordingWriter() override;

    PhaseRecordingWriter(const PhaseRecordingWriter&) = delete;
    PhaseRecordingWriter& operator=(const PhaseRecordingWriter&) = delete;

    // Called before each save: the store encodes the document before it reaches write().
    void beginSave(char generation);
    void write(const QString& path, const QByteArray& bytes) override;

private:
    void record(const char* phase);

    std::shared_ptr<AtomicFileWriter> m_inner;
    int m_status = -1;
    char m_generation = '?';
    long long m_completed = 0;
    long long m_lastWriteMilliseconds = 0;
};

} // namespace plimbo
