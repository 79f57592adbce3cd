#include "PhaseRecordingWriter.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace plimbo {

namespace {

// Every record has this length, so a shorter one never leaves the tail of a longer one behind.
constexpr int recordLength = 40;

} // namespace

PhaseRecordingWriter::PhaseRecordingWriter(std::shared_ptr<AtomicFileWriter> inner,
                                           const QByteArray& statusPath)
    : m_inner(std::move(inner)) {
    m_status = ::open(statusPath.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (m_status < 0) {
        throw std::runtime_error("cannot open the status file " + statusPath.toStdString() + ": " +
                                 std::strerror(errno));
    }
}

PhaseRecordingWriter::~PhaseRecordingWriter() {
    if (m_status >= 0) {
        ::close(m_status);
    }
}

void PhaseRecordingWriter::beginSave(char generation) {
    m_generation = generation;
    record("encoding");
}

void PhaseRecordingWriter::write(const QString& path, const QByteArray& bytes) {
    record("writing");
    const auto start = std::chrono::steady_clock::now();
    m_inner->write(path, bytes);
    m_lastWriteMilliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  std::chrono::steady_clock::now() - start)
                                  .count();
    ++m_completed;
    record("written");
}

void PhaseRecordingWriter::record(const char* phase) {
    char line[recordLength + 1];
    std::snprintf(line, sizeof line, "%-*s", recordLength,
                  (std::string(phase) + ' ' + m_generation + ' ' + std::to_string(m_completed) +
                   ' ' + std::to_string(m_lastWriteMilliseconds))
                      .c_str());
    line[recordLength - 1] = '\n';
    // Best effort: a lost record only blurs the statistics, never the check.
    [[maybe_unused]] const ssize_t written = ::pwrite(m_status, line, recordLength, 0);
}

} // namespace plimbo
