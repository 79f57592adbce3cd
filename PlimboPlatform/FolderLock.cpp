#include "FolderLock.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plimbo {

namespace {

// A note is a path or two; anything longer is not one of ours.
constexpr qsizetype maximumNoteBytes = 4096;

// Makes the folder and its missing parents, private to the user (0700).
bool makeFolder(const QString& path) {
    const QByteArray absolute = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    for (qsizetype slash = absolute.indexOf('/', 1);; slash = absolute.indexOf('/', slash + 1)) {
        const QByteArray prefix = slash < 0 ? absolute : absolute.left(slash);
        if (::mkdir(prefix.constData(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash < 0) {
            break;
        }
    }
    return QFileInfo(path).isDir();
}

// O_NONBLOCK and O_NOFOLLOW: a pipe or a link planted in the lock's place must neither stall
// nor redirect the open; anything but a regular file is refused.
int openLockFile(const QString& path, int flags) {
    const int descriptor = ::open(QFile::encodeName(path).constData(),
                                  flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (descriptor < 0) {
        return -1;
    }
    struct stat info;
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        errno = EINVAL;
        return -1;
    }
    return descriptor;
}

} // namespace

FolderLock::FolderLock(QString path)
    : m_path(std::move(path)) {}

FolderLock::~FolderLock() {
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
    }
}

FolderLock::Result FolderLock::claim() {
    if (!makeFolder(QFileInfo(m_path).path())) {
        m_error = qt_error_string(errno);
        return Result::unavailable;
    }
    const int descriptor = openLockFile(m_path, O_RDWR | O_CREAT);
    if (descriptor < 0) {
        m_error = qt_error_string(errno);
        return Result::unavailable;
    }
    int result;
    do {
        result = ::flock(descriptor, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int error = errno;
        ::close(descriptor);
        if (error == EWOULDBLOCK) {
            return Result::heldElsewhere;
        }
        m_error = qt_error_string(error);
        return Result::unavailable;
    }
    m_descriptor = descriptor;
    return Result::acquired;
}

void FolderLock::setNote(const QByteArray& note) {
    if (m_descriptor < 0) {
        return;
    }
    // Best effort: a note that cannot be written only costs a later start its hand-over.
    if (::ftruncate(m_descriptor, 0) == 0) {
        (void)!::pwrite(m_descriptor, note.constData(), size_t(note.size()), 0);
    }
}

QByteArray FolderLock::note() const {
    const int descriptor = m_descriptor >= 0 ? m_descriptor : openLockFile(m_path, O_RDONLY);
    if (descriptor < 0) {
        return {};
    }
    QByteArray bytes(maximumNoteBytes + 1, Qt::Uninitialized);
    const ssize_t count = ::pread(descriptor, bytes.data(), size_t(bytes.size()), 0);
    if (descriptor != m_descriptor) {
        ::close(descriptor);
    }
    if (count < 0 || count > maximumNoteBytes) {
        return {};
    }
    bytes.truncate(count);
    return bytes;
}

} // namespace plimbo
