#include "ProcFile.h"

#include <QFile>

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace plimbo {

namespace {

// These files are small; anything bigger is not what we expect to read.
constexpr qsizetype sizeLimit = 1024 * 1024;
constexpr qsizetype chunk = 4096;

} // namespace

ProcFile::ProcFile(QString path)
    : m_path(std::move(path)) {}

ProcFile::~ProcFile() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

ProcFile::ProcFile(ProcFile&& other) noexcept
    : m_path(std::move(other.m_path))
    , m_fd(std::exchange(other.m_fd, -1))
    , m_buffer(std::move(other.m_buffer)) {}

ProcFile& ProcFile::operator=(ProcFile&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_path = std::move(other.m_path);
        m_fd = std::exchange(other.m_fd, -1);
        m_buffer = std::move(other.m_buffer);
    }
    return *this;
}

QByteArrayView ProcFile::read() {
    if (m_fd < 0) {
        m_fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_CLOEXEC);
        if (m_fd < 0) {
            return {};
        }
    }
    // The size is not known in advance (these files report 0): read until the end, into a
    // buffer that keeps the size the text had last time.
    if (m_buffer.size() < chunk) {
        m_buffer.resize(chunk);
    }
    qsizetype used = 0;
    while (true) {
        if (used == m_buffer.size()) {
            if (used >= sizeLimit) {
                break;
            }
            m_buffer.resize(used + chunk);
        }
        const ssize_t got = ::pread(m_fd, m_buffer.data() + used, m_buffer.size() - used, used);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return {};
        }
        if (got == 0) {
            break;
        }
        used += got;
    }
    return QByteArrayView(m_buffer.constData(), used);
}

} // namespace plimbo
